set(links ky721decNumber)
