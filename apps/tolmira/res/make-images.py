#!/usr/bin/env python3
"""Draws Tolmira's small icons, tool-bar bitmap, sort arrows and divider
cursors (stdlib only), with the main cleaner's drawing helpers.

Run once after changing a picture; the outputs are kept beside the .rc file.
"""
import os
import struct
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "brisvane", "res"))
from importlib import import_module  # noqa: E402

draw = import_module("make-images")

ICONS = {
    128: ("disc", (60, 140, 90)),
    141: ("check", (20, 150, 40)),      # done
    142: ("cross", (200, 30, 30)),      # failed
    146: ("diamond", (230, 160, 20)),   # working
    147: ("frame", (160, 110, 40)),     # properties
    148: ("frame", (100, 100, 100)),
    149: ("bars", (60, 60, 160)),
    150: ("ring", (90, 90, 90)),
    151: ("cross", (180, 40, 40)),      # delete
    152: ("ring", (40, 120, 200)),      # search
    153: ("page", (70, 150, 220)),      # new plug-in
    154: ("diamond", (60, 130, 200)),   # preview
    155: ("frame", (100, 100, 100)),    # preferences
    156: ("check", (200, 60, 30)),      # run
    157: ("ring", (30, 110, 200)),      # web page
    158: ("disc", (90, 90, 200)),       # about
    160: ("diamond", (40, 120, 220)),   # help
    161: ("page", (150, 120, 60)),      # import
    162: ("bars", (40, 140, 120)),      # refresh
    163: ("cross", (120, 120, 120)),    # exit
    164: ("square", (60, 140, 60)),     # installed
}


def write_small_bitmap(path, rows):
    """A 24-bit bitmap from rows of '#' (black) and '.' (yellow, transparent)."""
    h, w = len(rows), len(rows[0])
    row_bytes = (w * 3 + 3) & ~3
    data = b""
    for row in reversed(rows):
        line = b"".join(b"\0\0\0" if c == "#" else b"\0\xff\xff" for c in row)
        data += line + b"\0" * (row_bytes - w * 3)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    filehdr = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(filehdr + info + data)


def write_cursor(path, open_gap):
    """A 32x32 monochrome divider cursor: two arrows and a bar (a double bar
    with a gap for the divider of a zero-width column); hot spot in the middle."""
    n = 32
    black = [[False] * n for _ in range(n)]
    for y in range(8, 24):
        black[y][15] = True
        if open_gap:
            black[y][17] = True
    for x in range(6, 26):
        black[16][x] = True
    for d in range(4):
        for y in range(16 - d, 17 + d):
            black[y][6 + d] = True
            black[y][25 - d] = True
    xor = b""
    andmask = b""
    for y in reversed(range(n)):
        xrow = bytearray(4)
        arow = bytearray(b"\xff" * 4)
        for x in range(n):
            if black[y][x]:
                arow[x // 8] &= ~(0x80 >> (x % 8)) & 0xFF
        xor += bytes(xrow)
        andmask += bytes(arow)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 1, 0, len(xor) + len(andmask), 0, 0, 2, 0)
    palette = b"\0\0\0\0\xff\xff\xff\0"
    image = header + palette + xor + andmask
    cur = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", n, n, 0, 0, 16, 16, len(image), 22) + image
    with open(path, "wb") as f:
        f.write(cur)


if __name__ == "__main__":
    for num, (shape, color) in ICONS.items():
        draw.write_ico(os.path.join(HERE, "icon%d.ico" % num), shape, color)
    draw.write_toolbar(os.path.join(HERE, "toolbar128.bmp"),
                       [("page", (70, 150, 220)), ("cross", (180, 40, 40)),
                        ("frame", (160, 110, 40)), ("check", (200, 60, 30))])
    write_small_bitmap(os.path.join(HERE, "sort139.bmp"),
                       [".........", "....#....", "...###...", "..#####..", ".#######."])
    write_small_bitmap(os.path.join(HERE, "sort140.bmp"),
                       [".#######.", "..#####..", "...###...", "....#....", "........."])
    write_small_bitmap(os.path.join(HERE, "sort143.bmp"), ["........."] * 5)
    write_cursor(os.path.join(HERE, "divider168.cur"), False)
    write_cursor(os.path.join(HERE, "divider169.cur"), True)
