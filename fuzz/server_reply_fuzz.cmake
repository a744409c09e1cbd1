set(links ky721lc)
set(loads ws2_32)
