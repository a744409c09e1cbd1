set(links ky721nsu)
