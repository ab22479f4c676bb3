#!/usr/bin/env python3
"""Writes sample/Projects/Sample/Wads/sample.wad: the sample project's four textures (floor,
ceiling, wall, crate), 32x32 patterns drawn here in colours of the standard palette, with their
three smaller mip levels. Run it from this directory."""
import struct

SIZE = 32


def pattern(name):
    px = []
    for y in range(SIZE):
        row = []
        for x in range(SIZE):
            if name == "floor":      # grey tiles with dark joints
                v = 4 if (x % 16 == 0 or y % 16 == 0) else 8 + ((x // 16 + y // 16) % 2) * 2
            elif name == "ceiling":  # light boards
                v = 12 if y % 8 == 0 else 14
            elif name == "wall":     # brown bricks
                off = 8 if (y // 8) % 2 else 0
                v = 1 if (y % 8 == 0 or (x + off) % 16 == 0) else 20 + (x * 7 + y * 3) % 3
            else:                    # crate: a frame and a cross of darker wood
                edge = x < 3 or y < 3 or x > SIZE - 4 or y > SIZE - 4
                cross = abs(x - y) < 2 or abs(x + y - SIZE + 1) < 2
                v = 97 if edge or cross else 100
            row.append(v)
        px.append(row)
    return px


def mips(px):
    levels = [px]
    for _ in range(3):
        p = levels[-1]
        levels.append([[p[y * 2][x * 2] for x in range(len(p) // 2)] for y in range(len(p) // 2)])
    return levels


def lump(name):
    levels = mips(pattern(name))
    header = 16 + 4 * 6
    offsets, data, at = [], b"", header
    for level in levels:
        offsets.append(at)
        raw = bytes(v for row in level for v in row)
        data += raw
        at += len(raw)
    return struct.pack("<16sII4I", name.encode(), SIZE, SIZE, *offsets) + data


if __name__ == "__main__":
    names = ["floor", "ceiling", "wall", "crate"]
    body, entries, at = b"", [], 12
    for n in names:
        l = lump(n)
        entries.append(struct.pack("<iiibbh16s", at, len(l), len(l), 0x44, 0, 0, n.encode()))
        body += l
        at += len(l)
    out = struct.pack("<4sii", b"WAD2", len(names), at) + body + b"".join(entries)
    with open("sample/Projects/Sample/Wads/sample.wad", "wb") as f:
        f.write(out)
