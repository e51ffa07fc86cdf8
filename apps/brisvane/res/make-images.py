#!/usr/bin/env python3
"""Draws the program's small icons and the tool-bar bitmap (stdlib only).

Run once after changing a picture; the outputs are kept beside the .rc file.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def shape_pixel(shape, x, y, n):
    c = (n - 1) / 2.0
    dx, dy = x - c, y - c
    if shape == "disc":
        return dx * dx + dy * dy <= (n / 2.0 - 1) ** 2
    if shape == "square":
        return 2 <= x < n - 2 and 2 <= y < n - 2
    if shape == "check":
        # a tick: short stroke down-right, long stroke up-right
        s = n / 16.0
        return (abs((y - 9 * s) - (x - 3 * s)) <= 1.3 * s and 3 * s <= x <= 7 * s) or \
               (abs((y - 13 * s) + (x - 7 * s)) <= 1.3 * s and 6 * s <= x <= 14 * s)
    if shape == "cross":
        return (abs(dx - dy) <= 1.5 or abs(dx + dy) <= 1.5) and abs(dx) <= n / 2.0 - 2
    if shape == "diamond":
        return abs(dx) + abs(dy) <= n / 2.0 - 1
    if shape == "frame":
        inside = 2 <= x < n - 2 and 2 <= y < n - 2
        core = 5 <= x < n - 5 and 5 <= y < n - 5
        return inside and not core
    if shape == "bars":
        return 2 <= y < n - 2 and (x % 4) in (1, 2)
    if shape == "ring":
        r2 = dx * dx + dy * dy
        return (n / 2.0 - 4) ** 2 <= r2 <= (n / 2.0 - 1) ** 2
    if shape == "page":
        return 3 <= x < n - 3 and 1 <= y < n - 1
    return False


def rgba_rows(shape, color, n):
    r, g, b = color
    rows = []
    for y in range(n):
        row = []
        for x in range(n):
            if shape_pixel(shape, x, y, n):
                # a little shading from the top-left
                k = 1.0 - 0.25 * (x + y) / (2.0 * n)
                row.append((int(b * k), int(g * k), int(r * k), 255))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def write_ico(path, shape, color, n=16):
    rows = rgba_rows(shape, color, n)
    xor = b"".join(bytes(p) for row in reversed(rows) for px in row for p in [px])
    mask_row_bytes = ((n + 31) // 32) * 4
    andmask = b""
    for row in reversed(rows):
        out = bytearray(mask_row_bytes)
        for x, px in enumerate(row):
            if px[3] == 0:
                out[x // 8] |= 0x80 >> (x % 8)
        andmask += bytes(out)
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, len(xor) + len(andmask), 0, 0, 0, 0)
    image = header + xor + andmask
    ico = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(image), 22) + image
    with open(path, "wb") as f:
        f.write(ico)


def write_toolbar(path, pictures, n=24, back=(192, 192, 192)):
    """One 24-bit bitmap with the buttons side by side; magenta-free grey back
    (or the mask colour given)."""
    w, h = n * len(pictures), n
    pix = [[back] * w for _ in range(h)]
    for i, (shape, color) in enumerate(pictures):
        rows = rgba_rows(shape, color, n)
        for y in range(n):
            for x in range(n):
                b, g, r, a = rows[y][x]
                if a:
                    pix[y][i * n + x] = (r, g, b)
    row_bytes = (w * 3 + 3) & ~3
    data = b""
    for y in reversed(range(h)):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in pix[y])
        data += row + b"\0" * (row_bytes - w * 3)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    filehdr = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(filehdr + info + data)


ICONS = {
    128: ("disc", (40, 110, 200)),
    141: ("cross", (200, 30, 30)),      # failed
    142: ("check", (20, 150, 40)),      # done
    143: ("diamond", (230, 160, 20)),   # working
    144: ("ring", (30, 110, 200)),      # web page
    145: ("disc", (90, 90, 200)),       # about
    146: ("cross", (120, 120, 120)),    # exit
    147: ("diamond", (40, 120, 220)),   # help
    148: ("frame", (100, 100, 100)),    # preferences
    149: ("check", (200, 60, 30)),      # clean now
    150: ("bars", (60, 60, 160)),
    151: ("square", (60, 140, 60)),
    154: ("square", (120, 80, 40)),     # memory dump
    155: ("page", (200, 200, 80)),      # clipboard
    156: ("bars", (160, 60, 60)),       # fragments
    158: ("frame", (60, 90, 160)),      # page file
    160: ("page", (150, 150, 150)),     # temp files
    161: ("page", (90, 130, 90)),       # log files
    162: ("ring", (50, 120, 170)),      # searches
    163: ("diamond", (160, 80, 160)),   # prefetch
    164: ("square", (60, 140, 60)),     # recycle bin
    165: ("bars", (80, 80, 80)),        # run history
    166: ("page", (80, 110, 180)),      # mru lists
    172: ("ring", (40, 90, 200)),       # typed addresses
    173: ("disc", (200, 150, 40)),      # cookies
    174: ("disc", (180, 120, 60)),
    175: ("square", (60, 120, 200)),
    177: ("frame", (120, 60, 160)),
    178: ("page", (40, 130, 200)),      # history
    179: ("check", (40, 100, 200)),     # visited links
    180: ("diamond", (200, 60, 120)),   # passwords
}

if __name__ == "__main__":
    for num, (shape, color) in ICONS.items():
        write_ico(os.path.join(HERE, "icon%d.ico" % num), shape, color)
    write_toolbar(os.path.join(HERE, "toolbar128.bmp"),
                  [("check", (200, 60, 30)), ("diamond", (40, 120, 220))])
