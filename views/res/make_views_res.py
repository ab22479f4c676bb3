#!/usr/bin/env python3
"""Writes the 2D views' cursors (32x32 monochrome .cur) and the depth view's two clipping-plane
bitmaps (100 x 12, white is see-through because the view draws them with SRCAND).

Run it from this directory after changing a shape: python3 make_views_res.py
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "framework", "res"))
from make_cursors import SIZE, arrow_h, arrow_v, write_cur  # noqa: E402


def arrow_pointer():
    """The views' normal pointer: a slanted arrow with its tip at (1, 1)."""
    p = set()
    for y in range(1, 18):
        for x in range(1, 1 + (y * 2) // 3 + 1):
            if x <= y:
                p.add((x, y))
    for i in range(8):
        p.add((5 + i // 2, 15 + i))
        p.add((6 + i // 2, 15 + i))
    return p


def shapes():
    c = SIZE // 2
    out = {"view_normal": (arrow_pointer(), (1, 1))}
    p = set()
    arrow_v(p, c, c - 11, c + 11)
    out["view_move_vertical"] = (p, (c, c))
    p = set()
    arrow_h(p, c, c - 10, c + 10)
    arrow_v(p, c, c - 10, c + 10)
    out["view_pan"] = (p, (c, c))
    p = set()  # stretch at the top: a bar with an arrow pointing up and down below it
    for x in range(c - 8, c + 9):
        p.add((x, c - 11))
        p.add((x, c - 12))
    arrow_v(p, c, c - 9, c + 9)
    out["view_top_handle"] = (p, (c, c - 11))
    p = set()
    for x in range(c - 8, c + 9):
        p.add((x, c + 11))
        p.add((x, c + 12))
    arrow_v(p, c, c - 9, c + 9)
    out["view_bottom_handle"] = (p, (c, c + 11))
    p = set()  # move freely: the four-way arrow around a small square (the object)
    arrow_h(p, c, c - 11, c + 11)
    arrow_v(p, c, c - 11, c + 11)
    for i in range(-3, 4):
        for j in (-3, 3):
            p.add((c + i, c + j))
            p.add((c + j, c + i))
    out["view_move"] = (p, (c, c))
    p = set()  # move horizontally only
    arrow_h(p, c, c - 11, c + 11)
    for y in range(c - 3, c + 4):
        p.add((c - 3, y))
        p.add((c + 3, y))
    out["view_move_horizontal"] = (p, (c, c))
    p = set()  # both axes locked: a square crossed out
    for i in range(-8, 9):
        p.add((c + i, c - 8))
        p.add((c + i, c + 8))
        p.add((c - 8, c + i))
        p.add((c + 8, c + i))
        p.add((c + i, c + i))
        p.add((c + i, c - i))
    out["view_move_locked"] = (p, (c, c))
    p = set()  # pick a centre: cross hairs with a ring around the hot spot
    for i in range(-12, 13):
        if abs(i) > 1:
            p.add((c + i, c))
            p.add((c, c + i))
    for x in range(-6, 7):
        for y in range(-6, 7):
            if 25 <= x * x + y * y <= 36:
                p.add((c + x, c + y))
    out["view_pick_centre"] = (p, (c, c))
    p = set()  # over a handle point: a small open square under a diagonal arrow
    for i in range(-3, 4):
        p.add((c + i, c - 3))
        p.add((c + i, c + 3))
        p.add((c - 3, c + i))
        p.add((c + 3, c + i))
    for i in range(5, 14):
        p.add((c + i, c + i))
    for d in range(1, 5):
        p.add((c + 13 - d, c + 13))
        p.add((c + 13, c + 13 - d))
    out["view_handle"] = (p, (c, c))
    return out


def write_bmp(path, rows):
    """rows: top-down list of lists of (r, g, b); written as a 24-bit bottom-up BMP."""
    h = len(rows)
    w = len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(data), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(head + info + bytes(data))


def plane_bitmap(top):
    """A grip over the plane line: the line on the edge that touches the plane, a darker tab
    at the right end that the user takes."""
    w, h = 100, 12
    white = (255, 255, 255)
    line = (0, 0, 160)
    tab = (96, 96, 96)
    rows = [[white] * w for _ in range(h)]
    edge = [h - 1, h - 2] if top else [0, 1]
    for y in edge:
        for x in range(w):
            rows[y][x] = line
    for y in range(h):
        d = (h - 1 - y) if top else y  # distance from the plane
        for x in range(w - 26 + d, w):
            if y not in edge:
                rows[y][x] = tab
    return rows


if __name__ == "__main__":
    for name, (pix, hot) in shapes().items():
        write_cur(name + ".cur", pix, hot)
    write_bmp("top_plane.bmp", plane_bitmap(True))
    write_bmp("bottom_plane.bmp", plane_bitmap(False))
