set(links ky721nwi)
