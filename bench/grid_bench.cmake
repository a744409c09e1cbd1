set(links ky721nwi user32 gdi32 kernel32)
