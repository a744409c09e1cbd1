set(links ky721lc)
