set(links user32 gdi32)
