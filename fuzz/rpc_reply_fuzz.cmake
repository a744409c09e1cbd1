set(links ky721lc ky721lc_byname)
set(loads rpcrt4 rpcns4)
