set(links ky721Ax)
