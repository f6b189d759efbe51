#!/usr/bin/env python3
"""Writes MorvaneX.ico: one design at 16, 20, 24, 32, 40, 48, 64 and 256 pixels.

The artwork echoes the window: a dark tile with a lime edge, the white bar
and the raised squares of the command tree (one group, two commands) with
the text of their rows. It is laid out on a 32-unit grid and drawn at each
size on the pixel grid, every edge snapped to a whole pixel and every line
at least one pixel wide, so that no size is a blurred copy of another; from
48 pixels up the tile's corners are smoothed. The images up to 64 pixels
are 32-bit bitmaps with alpha, the 256-pixel one a PNG, as Windows expects.
Run: python3 resources/make_icon.py resources/MorvaneX.ico
"""
import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)

TRANSPARENT = (0, 0, 0, 0)
LIME = (0, 255, 0, 255)
TILE = (32, 32, 32, 255)
WHITE = (255, 255, 255, 255)
CONNECTOR = (100, 100, 100, 255)
GROUP = (231, 99, 66, 255)
GROUP_LIGHT = (231, 132, 132, 255)
COMMAND = (0, 132, 132, 255)
COMMAND_LIGHT = (0, 255, 255, 255)
ROW_TEXT = (224, 224, 224, 255)

# Sizes drawn with smooth corners; smaller ones stay crisp on the pixel grid.
SMOOTH_FROM = 48


class Canvas:
    def __init__(self, size):
        self.size = size
        self.scale = size / 32
        self.line = max(1, round(self.scale))  # one design unit, at least a pixel
        self.pixels = [[TRANSPARENT] * size for _ in range(size)]

    def at(self, units):
        """A design coordinate on the pixel grid (halves round up)."""
        return int(units * self.scale + 0.5)

    def fill(self, left, top, right, bottom, colour):
        for y in range(max(top, 0), min(bottom, self.size)):
            for x in range(max(left, 0), min(right, self.size)):
                self.pixels[y][x] = colour


def inside_tile(x, y, size, radius):
    """Pixel (x, y) inside the tile, on the pixel grid."""
    cx = min(max(x, radius), size - 1 - radius)
    cy = min(max(y, radius), size - 1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius + 1


def coverage_rounded(x, y, size, radius, inset):
    """How much of pixel (x, y) lies inside the tile shrunk by inset, 0 to 1."""
    steps = 4
    hits = 0
    for sy in range(steps):
        for sx in range(steps):
            px = x + (sx + 0.5) / steps
            py = y + (sy + 0.5) / steps
            if not (inset <= px <= size - inset and inset <= py <= size - inset):
                continue
            cx = min(max(px, radius), size - radius)
            cy = min(max(py, radius), size - radius)
            r = radius - inset
            if (px - cx) ** 2 + (py - cy) ** 2 <= r * r:
                hits += 1
    return hits / (steps * steps)


def draw_tile(canvas):
    size, line = canvas.size, canvas.line
    assert size >= SMOOTH_FROM or line == 1
    radius = canvas.at(4)
    for y in range(size):
        for x in range(size):
            if size >= SMOOTH_FROM:
                outer = coverage_rounded(x, y, size, radius, 0)
                inner = coverage_rounded(x, y, size, radius, line)
                if outer == 0:
                    continue
                # Lime edge over the dark tile, faded out where the tile ends.
                colour = tuple(round(t * inner + l * (1 - inner)) for t, l in zip(TILE[:3], LIME[:3]))
                canvas.pixels[y][x] = colour + (round(255 * outer),)
            elif inside_tile(x, y, size, radius):
                # A one-pixel edge: the tile's pixels next to one outside it.
                edge = not all(inside_tile(x + dx, y + dy, size, radius)
                               for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
                canvas.pixels[y][x] = LIME if edge else TILE


def draw_node(canvas, left, top, size, colour, light):
    """A raised square: its fill, lit along the top and the left just outside
    it. Gives the fill's pixel rectangle."""
    l, t = canvas.at(left), canvas.at(top)
    r, b = canvas.at(left + size), canvas.at(top + size)
    w = canvas.line
    canvas.fill(l, t, r, b, colour)
    canvas.fill(l - w, t - w, r - w, t, light)
    canvas.fill(l - w, t, l, b - w, light)
    return l, t, r, b


def draw_row(canvas, bar_right, node_top, text_left, text_right):
    """A command row: the connector from the bar to its square, the square,
    and a line of text after it, all on the square's middle row."""
    w = canvas.line
    l, t, r, b = draw_node(canvas, 15, node_top, 5, COMMAND, COMMAND_LIGHT)
    middle = t + (b - t - w) // 2
    canvas.fill(bar_right, middle, l - w, middle + w, CONNECTOR)
    canvas.fill(text_left, middle, text_right, middle + w, ROW_TEXT)


def draw(size):
    canvas = Canvas(size)
    draw_tile(canvas)
    bar_left, bar_right = canvas.at(6), canvas.at(8)
    canvas.fill(bar_left, canvas.at(5), max(bar_right, bar_left + 1), canvas.at(27), WHITE)
    draw_node(canvas, 10, 4, 8, GROUP, GROUP_LIGHT)
    text_left, text_right = canvas.at(22), canvas.at(27)
    draw_row(canvas, bar_right, 14, text_left, text_right)
    draw_row(canvas, bar_right, 22, text_left, text_right)
    return canvas.pixels


def bitmap_image(pixels):
    """A 32-bit BMP icon image: header, bottom-up BGRA rows, AND mask."""
    size = len(pixels)
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + mask


def png_image(pixels):
    size = len(pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = bytearray()
    for row in pixels:
        raw.append(0)  # no filter
        for pixel in row:
            raw += bytes(pixel)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
            + chunk(b"IEND", b""))


def ico(images):
    """images: (size, bytes) pairs. The directory names 256 as 0."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, data in images:
        side = 0 if size >= 256 else size
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, data in images)


if __name__ == "__main__":
    images = []
    for size in SIZES:
        pixels = draw(size)
        images.append((size, png_image(pixels) if size >= 256 else bitmap_image(pixels)))
    with open(sys.argv[1], "wb") as out:
        out.write(ico(images))
