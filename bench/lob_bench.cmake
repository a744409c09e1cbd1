set(links ky721lc odbc)
