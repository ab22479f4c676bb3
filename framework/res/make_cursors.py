#!/usr/bin/env python3
"""Writes the framework's cursors (split bars and tracker handles) as 32x32 monochrome .cur files.

Each shape is drawn in black with a one-pixel white outline; everything else is transparent.
Run it from this directory after changing a shape: python3 make_cursors.py
"""
import struct

SIZE = 32


def arrow_h(pix, y, x0, x1, head=4):
    """A horizontal double arrow from x0 to x1 on row y."""
    for x in range(x0, x1 + 1):
        pix.add((x, y))
    for d in range(1, head + 1):
        for dy in (-d, d):
            pix.add((x0 + d, y + dy))
            pix.add((x1 - d, y + dy))


def arrow_v(pix, x, y0, y1, head=4):
    for y in range(y0, y1 + 1):
        pix.add((x, y))
    for d in range(1, head + 1):
        for dx in (-d, d):
            pix.add((x + dx, y0 + d))
            pix.add((x + dx, y1 - d))


def arrow_diag(pix, x0, y0, x1, y1, head=5):
    """A diagonal double arrow; (x1-x0) and (y1-y0) have the same length."""
    n = abs(x1 - x0)
    sx = 1 if x1 > x0 else -1
    sy = 1 if y1 > y0 else -1
    for i in range(n + 1):
        pix.add((x0 + i * sx, y0 + i * sy))
    for d in range(1, head + 1):
        pix.add((x0 + d * sx, y0))
        pix.add((x0, y0 + d * sy))
        pix.add((x1 - d * sx, y1))
        pix.add((x1, y1 - d * sy))


def shapes():
    c = SIZE // 2
    out = {}

    p = set()  # split bar moved left and right: two upright bars and a horizontal arrow
    for y in range(c - 8, c + 9):
        p.add((c - 2, y))
        p.add((c + 1, y))
    arrow_h(p, c, c - 9, c + 9)
    out["hsplit"] = (p, (c, c))

    p = set()  # split bar moved up and down
    for x in range(c - 8, c + 9):
        p.add((x, c - 2))
        p.add((x, c + 1))
    arrow_v(p, c, c - 9, c + 9)
    out["vsplit"] = (p, (c, c))

    p = set()
    arrow_diag(p, c - 8, c - 8, c + 8, c + 8)
    out["tracknwse"] = (p, (c, c))

    p = set()
    arrow_diag(p, c + 8, c - 8, c - 8, c + 8)
    out["tracknesw"] = (p, (c, c))

    p = set()
    arrow_v(p, c, c - 9, c + 9)
    out["trackns"] = (p, (c, c))

    p = set()
    arrow_h(p, c, c - 9, c + 9)
    out["trackwe"] = (p, (c, c))

    p = set()
    arrow_h(p, c, c - 10, c + 10)
    arrow_v(p, c, c - 10, c + 10)
    out["track4way"] = (p, (c, c))
    return out


def write_cur(path, pixels, hotspot):
    black = set(pixels)
    white = set()
    for (x, y) in black:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                q = (x + dx, y + dy)
                if q not in black and 0 <= q[0] < SIZE and 0 <= q[1] < SIZE:
                    white.add(q)
    row_bytes = SIZE // 8
    xor = bytearray(row_bytes * SIZE)
    andm = bytearray(b"\xff" * (row_bytes * SIZE))
    for y in range(SIZE):
        row = SIZE - 1 - y  # bottom-up
        for x in range(SIZE):
            bit = 0x80 >> (x % 8)
            i = row * row_bytes + x // 8
            if (x, y) in black:
                andm[i] &= ~bit
            elif (x, y) in white:
                andm[i] &= ~bit
                xor[i] |= bit
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x00000000, 0x00FFFFFF)
    image = header + palette + bytes(xor) + bytes(andm)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1) + entry + image)


if __name__ == "__main__":
    for name, (pix, hot) in shapes().items():
        write_cur(name + ".cur", pix, hot)
