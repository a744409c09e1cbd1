set(links ky721nwi user32)
