set(links ky721lc ky721lc_byname)
