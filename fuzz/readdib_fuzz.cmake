set(links kernel32 gdi32)
