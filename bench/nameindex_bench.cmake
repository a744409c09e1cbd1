set(links ky721nsu sqlite3)
