set(links kernel32 user32 gdi32)
