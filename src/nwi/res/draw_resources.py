#!/usr/bin/env python3
"""Draws the pictures, cursors and icon of ky721nwi.rc into this folder.

Run it again after changing a drawing; the files it writes are committed so
that a build needs no Python. Bitmaps are 24-bit BMP files whose pure green
(0x00FF00) pixels are the transparent key colour of the library's drawing.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

GREEN = (0, 255, 0)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
SHADOW = (128, 128, 128)
FACE = (192, 192, 192)
LIGHT = (223, 223, 223)
NAVY = (0, 0, 128)


def canvas(w, h, fill):
    return [[fill for _ in range(w)] for _ in range(h)]


def write_bmp(name, pixels):
    h = len(pixels)
    w = len(pixels[0])
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up rows
        line = bytearray()
        for (r, g, b) in pixels[y]:
            line += bytes((b, g, r))
        line += bytes(row - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    filehead = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(filehead + header + data)


def mono_rows(mask_rows, w):
    """1-bit rows (top-down strings, '#' set) packed bottom-up, DWORD-aligned."""
    row = ((w + 31) // 32) * 4
    out = bytearray()
    for text in reversed(mask_rows):
        bits = bytearray(row)
        for x, ch in enumerate(text):
            if ch == "#":
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return out


def write_cursor(name, shape, hotspot):
    """A 32x32 monochrome cursor: 'X' black, '.' white, ' ' transparent."""
    w = h = 32
    rows = [line.ljust(w) for line in shape] + [" " * w] * (h - len(shape))
    xor_rows = ["#" if ch == "." else " " for line in rows for ch in line]
    xor = ["".join(xor_rows[i * w:(i + 1) * w]) for i in range(h)]
    and_rows = ["".join("#" if ch == " " else " " for ch in line) for line in rows]
    xor_bits = mono_rows(xor, w)
    and_bits = mono_rows(and_rows, w)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 1, 0, len(xor_bits) + len(and_bits), 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + xor_bits + and_bits
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", w, h, 2, 0, hotspot[0], hotspot[1],
                                                            len(image), 6 + 16)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(directory + image)


def write_icon(name, pixels, opaque):
    """A 32x32 icon of 24 bits with an AND mask from `opaque`."""
    w = h = 32
    row = w * 3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        for (r, g, b) in pixels[y]:
            data += bytes((b, g, r))
    and_rows = ["".join(" " if opaque[y][x] else "#" for x in range(w)) for y in range(h)]
    mask = mono_rows(and_rows, w)
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 24, 0, len(data) + len(mask), 0, 0, 0, 0)
    image = header + data + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w, h, 0, 0, 1, 24, len(image), 6 + 16)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(directory + image)


# --- check boxes and radio buttons ---------------------------------------------------------

def check_box(checked, pushed, grey):
    px = canvas(13, 13, GREEN)
    inner = FACE if pushed else WHITE
    for y in range(13):
        for x in range(13):
            if x == 0 or y == 0:
                px[y][x] = SHADOW
            elif x == 12 or y == 12:
                px[y][x] = WHITE
            elif x == 1 or y == 1:
                px[y][x] = BLACK
            elif x == 11 or y == 11:
                px[y][x] = FACE
            else:
                px[y][x] = inner
    if checked:
        mark = SHADOW if grey else BLACK
        for i, (x, y) in enumerate([(3, 5), (4, 6), (5, 7), (6, 6), (7, 5), (8, 4), (9, 3)]):
            for d in range(3):
                px[y + d][x] = mark
    return px


def radio(checked, pushed):
    px = canvas(12, 12, GREEN)
    cx, cy = 5.5, 5.5
    for y in range(12):
        for x in range(12):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if d <= 6.0:
                if d > 5.0:
                    px[y][x] = SHADOW if (x + y) < 11 else WHITE
                elif d > 4.0:
                    px[y][x] = BLACK if (x + y) < 11 else FACE
                else:
                    px[y][x] = FACE if pushed else WHITE
                if checked and d <= 1.8:
                    px[y][x] = BLACK
    return px


# --- arrows --------------------------------------------------------------------------------

def arrow(width, height, up, disabled):
    px = canvas(width, height, GREEN)
    size = max(2, min(width // 2 - 1, height - 2))
    top = (height - size) // 2 + (0 if up else 0)
    colour = SHADOW if disabled else BLACK
    for i in range(size):
        row = top + (i if up else size - 1 - i)
        half = i
        for x in range(width // 2 - half - (width + 1) % 2, width // 2 + half + 1):
            if 0 <= x < width and 0 <= row < height:
                px[row][x] = colour
                if disabled and row + 1 < height and x + 1 < width and px[row + 1][x + 1] == GREEN:
                    px[row + 1][x + 1] = WHITE
    return px


# --- the default picture of statics ---------------------------------------------------------

def help_picture():
    px = canvas(32, 32, GREEN)
    for y in range(2, 30):
        for x in range(2, 30):
            px[y][x] = LIGHT if (x in (2, 29) or y in (2, 29)) else WHITE
    for x in range(2, 30):
        px[29][x] = SHADOW
    for y in range(2, 30):
        px[y][29] = SHADOW
    question = [
        "  ####  ",
        " ##  ## ",
        " ##  ## ",
        "     ## ",
        "    ##  ",
        "   ##   ",
        "   ##   ",
        "        ",
        "   ##   ",
        "   ##   ",
    ]
    for y, line in enumerate(question):
        for x, ch in enumerate(line):
            if ch == "#":
                for dy in range(2):
                    for dx in range(2):
                        px[6 + y * 2 + dy][8 + x * 2 + dx] = NAVY
    return px


def grid_icon():
    px = canvas(32, 32, WHITE)
    opaque = [[False] * 32 for _ in range(32)]
    for y in range(3, 29):
        for x in range(2, 30):
            opaque[y][x] = True
            if y < 9:
                px[y][x] = FACE
            if x in (2, 29) or y in (3, 9, 15, 22, 28) or x in (11, 20):
                px[y][x] = BLACK if (x in (2, 29) or y in (3, 28)) else SHADOW
    return px, opaque


CROSS = [
    "     X     ",
    "    X.X    ",
    "    X.X    ",
    "    X.X    ",
    "XXXXX.XXXXX",
    "X.........X",
    "XXXXX.XXXXX",
    "    X.X    ",
    "    X.X    ",
    "    X.X    ",
    "     X     ",
]

UPDOWN = [
    "    X    ",
    "   X.X   ",
    "  X...X  ",
    " X.....X ",
    "XXXX.XXXX",
    "   X.X   ",
    "   X.X   ",
    "   X.X   ",
    "XXXX.XXXX",
    " X.....X ",
    "  X...X  ",
    "   X.X   ",
    "    X    ",
]

UP = UPDOWN[:8]
DOWN = ["   X.X   ", "   X.X   ", "   X.X   ", "XXXX.XXXX", " X.....X ", "  X...X  ", "   X.X   ", "    X    "]
INSIDE = ["XXXXXXXXX", "X.......X", "X.......X", "XXXXXXXXX"]


def main():
    # A button's picture index is its check state, + 1 while pushed (two
    # pictures per state): off, pushed off, on, pushed on, no value, pushed no value.
    states = [(False, False, False), (False, True, False), (True, False, False), (True, True, False),
              (True, False, True), (True, True, True)]
    for i, (checked, pushed, grey) in enumerate(states, 1):
        write_bmp("hc%d.bmp" % i, check_box(checked, pushed, grey))
    for i, (checked, pushed) in enumerate([(False, False), (False, True), (True, False), (True, True)], 1):
        write_bmp("hr%d.bmp" % i, radio(checked, pushed))
    write_bmp("hlp1.bmp", help_picture())
    # Spin arrows 7110-7113 / 7210-7213 and the combo's drop arrow 2002-2005:
    # base, wide screen (+1), disabled (+2), both (+3).
    for base, up in ((7110, True), (7210, False), (2002, False)):
        for k, (wide, disabled) in enumerate([(False, False), (True, False), (False, True), (True, True)]):
            w, h = (20, 10) if wide else (16, 8)
            write_bmp("arrow%d.bmp" % (base + k), arrow(w, h, up, disabled))
    write_cursor("grid.cur", CROSS, (5, 5))
    write_cursor("spindrag.cur", UPDOWN, (4, 6))
    write_cursor("spinup.cur", UP, (4, 0))
    write_cursor("spinin.cur", INSIDE, (4, 2))
    write_cursor("spindown.cur", DOWN, (4, 7))
    px, opaque = grid_icon()
    write_icon("grid.ico", px, opaque)


if __name__ == "__main__":
    main()
