#!/usr/bin/env python3
"""Writes morvane.ico: the editor's icon, a wireframe brush (a box seen at an angle) in 32x32 and
16x16, 32-bit colour with an AND mask. Run it from this directory after changing the drawing."""
import struct


def line(img, size, x0, y0, x1, y1, colour):
    steps = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(steps + 1):
        x = round(x0 + (x1 - x0) * i / steps)
        y = round(y0 + (y1 - y0) * i / steps)
        if 0 <= x < size and 0 <= y < size:
            img[y][x] = colour


def fill(img, size, poly, colour):
    ys = [p[1] for p in poly]
    for y in range(min(ys), max(ys) + 1):
        xs = []
        n = len(poly)
        for i in range(n):
            (xa, ya), (xb, yb) = poly[i], poly[(i + 1) % n]
            if ya == yb:
                continue
            if min(ya, yb) <= y < max(ya, yb):
                xs.append(xa + (y - ya) * (xb - xa) / (yb - ya))
        xs.sort()
        for j in range(0, len(xs) - 1, 2):
            for x in range(int(round(xs[j])), int(round(xs[j + 1])) + 1):
                if 0 <= x < size and 0 <= y < size:
                    img[y][x] = colour


def draw(size):
    s = size / 32.0
    P = lambda x, y: (int(round(x * s)), int(round(y * s)))
    img = [[None] * size for _ in range(size)]
    # Front face, top face, side face of a box.
    front = [P(4, 12), P(20, 12), P(20, 28), P(4, 28)]
    top = [P(4, 12), P(12, 4), P(28, 4), P(20, 12)]
    side = [P(20, 12), P(28, 4), P(28, 20), P(20, 28)]
    fill(img, size, front, (0xC0, 0x70, 0x20, 0xFF))
    fill(img, size, top, (0xF0, 0xB0, 0x50, 0xFF))
    fill(img, size, side, (0x90, 0x50, 0x10, 0xFF))
    edge = (0x20, 0x10, 0x00, 0xFF)
    for poly in (front, top, side):
        for i in range(len(poly)):
            a, b = poly[i], poly[(i + 1) % len(poly)]
            line(img, size, a[0], a[1], b[0], b[1], edge)
    return img


def image_bytes(size):
    img = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            p = img[y][x]
            xor += bytes((p[2], p[1], p[0], p[3])) if p else b"\0\0\0\0"
    row = ((size + 31) // 32) * 4
    andm = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(row)
        for x in range(size):
            if img[y][x] is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        andm += bits
    return header + bytes(xor) + bytes(andm)


if __name__ == "__main__":
    images = [image_bytes(32), image_bytes(16)]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open("morvane.ico", "wb") as f:
        f.write(out + b"".join(images))
