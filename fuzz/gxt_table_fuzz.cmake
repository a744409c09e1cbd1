set(links kernel32)
