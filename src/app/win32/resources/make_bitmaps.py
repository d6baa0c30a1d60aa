#!/usr/bin/env python3
"""Draws the settings dialog's pictures and writes them as 24-bit .bmp files into a folder:
side.bmp (104, the tall picture beside the fields: the program's mark on a blue panel),
browse.bmp (106, a folder) and refresh.bmp (120, a circular arrow). The buttons' pictures
use the light grey (192, 192, 192) as background, which the program maps to the button
face when it loads them. Usage: make_bitmaps.py OUTPUT_FOLDER"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_icon import in_arrow  # noqa: E402  the same mark as the icon

BUTTON_FACE = (192, 192, 192)
OUTLINE = (64, 64, 64)
FOLDER = (240, 200, 80)
FOLDER_DARK = (200, 150, 40)
ARROW = (30, 130, 60)


def write_bmp(path, rows):
    """Rows of (r, g, b), top row first, as an uncompressed bottom-up 24-bit bitmap."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as target:
        target.write(header + info + pixels)


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def side_picture(width=176, height=288):
    """A blue panel that lightens downwards, soft rings behind the mark in its upper part."""
    top, bottom = (0x14, 0x3F, 0x73), (0x5C, 0x9C, 0xD8)
    mark_size = width * 0.62
    mark_left, mark_top = (width - mark_size) / 2, height * 0.16
    centre_x, centre_y = width / 2, mark_top + mark_size / 2
    rows = []
    for y in range(height):
        base = mix(top, bottom, y / (height - 1))
        row = []
        for x in range(width):
            u = (x + 0.5 - mark_left) / mark_size
            v = (y + 0.5 - mark_top) / mark_size
            if 0 <= u <= 1 and 0 <= v <= 1 and in_arrow(u, v):
                row.append((0xFF, 0xFF, 0xFF))
                continue
            ring = math.hypot(x - centre_x, y - centre_y) / (width * 0.16)
            glow = 0.10 if int(ring) % 2 == 0 and ring < 4 else 0.0
            row.append(mix(base, (0xFF, 0xFF, 0xFF), glow))
        rows.append(row)
    # A light rule below the panel's upper part, where a caption would sit.
    for x in range(12, width - 12):
        rows[int(height * 0.78)][x] = (0xD8, 0xE8, 0xF8)
    return rows


def browse_picture(size=16):
    """A closed folder: a tab on the back, the body in front, outlined."""
    rows = [[BUTTON_FACE] * size for _ in range(size)]
    for y in range(3, 13):
        for x in range(1, 15):
            tab = y < 5 and x > 7
            if tab:
                continue
            edge = y in (3, 12) or x in (1, 14) or (y == 4 and x >= 7) or (y == 5 and x > 7)
            rows[y][x] = OUTLINE if edge else (FOLDER if y >= 6 else FOLDER_DARK)
    return rows


def refresh_picture(size=16):
    """Three quarters of a ring ending in an arrow head, clockwise."""
    rows = [[BUTTON_FACE] * size for _ in range(size)]
    centre = (size - 1) / 2
    for y in range(size):
        for x in range(size):
            dx, dy = x - centre, y - centre
            radius = math.hypot(dx, dy)
            angle = math.degrees(math.atan2(dy, dx)) % 360
            if 4.0 <= radius <= 6.4 and not 270 < angle < 350:
                rows[y][x] = ARROW
    # The head at the ring's open end on top, pointing on clockwise (to the right).
    tip_x, tip_y = centre + 4.5, centre - 5.2
    for y in range(size):
        for x in range(size):
            if centre - 0.5 <= x <= tip_x and abs(y - tip_y) <= (tip_x - x) * 0.75:
                rows[y][x] = ARROW
    return rows


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    write_bmp(os.path.join(folder, "side.bmp"), side_picture())
    write_bmp(os.path.join(folder, "browse.bmp"), browse_picture())
    write_bmp(os.path.join(folder, "refresh.bmp"), refresh_picture())
    return 0


if __name__ == "__main__":
    sys.exit(main())
