#!/usr/bin/env python3
"""Draws the language library's icons (32x32, 32 bits per pixel with alpha).

Run from this folder; the .ico files it writes are kept in the repository so
that building needs no Python.
"""
import struct

SIZE = 32


def icon_file(pixels):
    """pixels: SIZE rows of SIZE (r, g, b, a) tuples, top row first."""
    xor = bytearray()
    for row in reversed(pixels):  # DIB rows run bottom-up
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_row = (SIZE + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack('<HHH', 0, 1, 1) + struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + image


def canvas():
    return [[(0, 0, 0, 0)] * SIZE for _ in range(SIZE)]


def disc(p, colour, r=14):
    for y in range(SIZE):
        for x in range(SIZE):
            if (x - 15.5) ** 2 + (y - 15.5) ** 2 <= r * r:
                p[y][x] = colour


def rect(p, x0, y0, x1, y1, colour):
    for y in range(y0, y1):
        for x in range(x0, x1):
            p[y][x] = colour


WHITE = (255, 255, 255, 255)
BLACK = (0, 0, 0, 255)


def information():
    p = canvas()
    disc(p, (0, 90, 200, 255))
    rect(p, 14, 7, 18, 11, WHITE)
    rect(p, 14, 13, 18, 25, WHITE)
    return p


def error():
    p = canvas()
    disc(p, (200, 20, 20, 255))
    for i in range(-7, 8):
        for w in (0, 1):
            p[16 + i][16 + i + w] = WHITE
            p[16 + i][15 - i + w] = WHITE
    return p


def frame():
    p = canvas()
    rect(p, 2, 4, 30, 28, BLACK)
    rect(p, 3, 5, 29, 9, (0, 60, 160, 255))
    rect(p, 3, 9, 29, 27, WHITE)
    rect(p, 6, 12, 26, 14, (160, 160, 160, 255))
    rect(p, 6, 17, 20, 19, (160, 160, 160, 255))
    return p


def log():
    p = frame()
    for y in (12, 16, 20, 24):
        rect(p, 6, y, 26, y + 2, (80, 80, 80, 255))
    return p


def report():
    p = canvas()
    rect(p, 6, 2, 26, 30, BLACK)
    rect(p, 7, 3, 25, 29, WHITE)
    for y in range(7, 27, 4):
        rect(p, 10, y, 22, y + 1, (60, 60, 60, 255))
    return p


for name, picture in (('information', information), ('error', error), ('frame', frame),
                      ('log', log), ('report', report)):
    with open(name + '.ico', 'wb') as f:
        f.write(icon_file(picture()))
