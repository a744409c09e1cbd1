set(links user32)
