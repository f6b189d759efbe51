#!/usr/bin/env python3
"""Writes MorvaneX.ico: one 32 x 32 image, 32 bits per pixel with alpha.

The artwork echoes the window: a dark tile with a lime edge, the white bar
and the raised squares of the command tree (one group, two commands).
Run: python3 resources/make_icon.py resources/MorvaneX.ico
"""
import struct
import sys

SIZE = 32
TRANSPARENT = (0, 0, 0, 0)


def tile(x, y):
    # Rounded corners: radius 4, cut outside the arc.
    r = 4
    cx = min(max(x, r), SIZE - 1 - r)
    cy = min(max(y, r), SIZE - 1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r + 1


def on_edge(x, y):
    return tile(x, y) and not all(tile(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))


def square(pixels, left, top, size, fill, light):
    for y in range(top, top + size):
        for x in range(left, left + size):
            pixels[y][x] = fill
    for x in range(left - 1, left + size - 1):
        pixels[top - 1][x] = light
    for y in range(top, top + size - 1):
        pixels[y][left - 1] = light


def draw():
    pixels = [[TRANSPARENT] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if on_edge(x, y):
                pixels[y][x] = (0, 255, 0, 255)
            elif tile(x, y):
                pixels[y][x] = (32, 32, 32, 255)
    white = (255, 255, 255, 255)
    for y in range(5, 27):
        pixels[y][6] = white
        pixels[y][7] = white
    for x in range(8, 14):
        pixels[16][x] = (100, 100, 100, 255)
        pixels[24][x] = (100, 100, 100, 255)
    square(pixels, 10, 4, 8, (231, 99, 66, 255), (231, 132, 132, 255))
    square(pixels, 15, 14, 5, (0, 132, 132, 255), (0, 255, 255, 255))
    square(pixels, 15, 22, 5, (0, 132, 132, 255), (0, 255, 255, 255))
    for x in range(22, 27):
        pixels[16][x] = (224, 224, 224, 255)
        pixels[24][x] = (224, 224, 224, 255)
    return pixels


def ico(pixels):
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask = bytearray()
    for row in reversed(pixels):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (31 - x)
        mask += struct.pack(">I", bits)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = header + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    with open(sys.argv[1], "wb") as out:
        out.write(ico(draw()))
