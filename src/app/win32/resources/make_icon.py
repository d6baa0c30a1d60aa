#!/usr/bin/env python3
"""Draws the program's icon (resource 102) and writes it as a Windows .ico file:
a blue tile with a white arrow coming down into a tray, at 16, 32 and 48 pixels,
32-bit colour with alpha. Usage: make_icon.py OUTPUT.ico"""
import struct
import sys

TILE = (0x1F, 0x5F, 0xA8)      # deep blue
TILE_EDGE = (0x14, 0x3F, 0x73)
MARK = (0xFF, 0xFF, 0xFF)


def inside_rounded_square(x, y, size, radius):
    """Whether the pixel centre lies in a square of `size` with rounded corners."""
    cx, cy = x + 0.5, y + 0.5
    low, high = radius, size - radius
    dx = low - cx if cx < low else (cx - high if cx > high else 0.0)
    dy = low - cy if cy < low else (cy - high if cy > high else 0.0)
    return dx * dx + dy * dy <= radius * radius


def in_arrow(u, v):
    """The mark in unit coordinates (0..1 across the tile): a shaft, a head, a tray."""
    shaft = 0.42 <= u <= 0.58 and 0.16 <= v <= 0.50
    head = 0.48 <= v <= 0.70 and abs(u - 0.5) <= (0.70 - v) * 1.15
    tray_floor = 0.20 <= u <= 0.80 and 0.76 <= v <= 0.84
    tray_sides = (0.20 <= u <= 0.28 or 0.72 <= u <= 0.80) and 0.62 <= v <= 0.84
    return shaft or head or tray_floor or tray_sides


def draw(size):
    """Rows of (r, g, b, a), top row first."""
    radius = max(2.0, size / 6.0)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if not inside_rounded_square(x, y, size, radius):
                row.append((0, 0, 0, 0))
            elif not inside_rounded_square(x - 1, y - 1, size - 2, radius - 1) or \
                    not inside_rounded_square(x, y, size - 1, radius):
                row.append(TILE_EDGE + (0xFF,))
            elif in_arrow((x + 0.5) / size, (y + 0.5) / size):
                row.append(MARK + (0xFF,))
            else:
                row.append(TILE + (0xFF,))
        rows.append(row)
    return rows


def dib(size):
    """One image of the .ico: a BITMAPINFOHEADER of double height, the colour rows
    bottom-up in BGRA, then the 1-bit AND mask (rows padded to four bytes)."""
    rows = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + bytes(colour) + bytes(mask)


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    sizes = (16, 32, 48)
    images = [dib(size) for size in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    with open(sys.argv[1], "wb") as target:
        target.write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
