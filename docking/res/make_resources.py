#!/usr/bin/env python3
"""Writes the docking library's images: sectip.ico (a light bulb, 32x32, for the tip-of-the-day
dialog), the menu buttons' arrows secarrowdn.bmp and secarrowrt.bmp (4-bit, drawn in black on
the light grey that the loader recolours to the button face), and the toolbar cursors
seccopy.cur (a button dragged as a copy: the arrow with a plus box) and secsize.cur (the
resizing edge of a control on a toolbar: a double bar with arrows). Run it from this directory."""
import struct


def bmp_4bit(rows):
    """rows: strings of '#' (black) and '.' (light grey), top row first."""
    h, w = len(rows), len(rows[0])
    table = [(0, 0, 0), (0xC0, 0xC0, 0xC0)]
    table += [(0, 0, 0)] * (16 - len(table))
    stride = ((w + 7) // 8) * 4
    bits = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, ch in enumerate(row):
            v = 0 if ch == '#' else 1
            line[x // 2] |= v << (4 if x % 2 == 0 else 0)
        bits += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(bits), 0, 0, 16, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in table)
    off = 14 + len(header) + len(pal)
    return struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off) + header + pal + bits


def arrow(down):
    w, h = 9, 9
    rows = [['.'] * w for _ in range(h)]
    for i in range(4):
        for j in range(i, 7 - i):
            if down:
                rows[2 + i][1 + j] = '#'
            else:
                rows[1 + j][2 + i] = '#'
    return ["".join(r) for r in rows]


def icon():
    size = 32
    img = [[None] * size for _ in range(size)]
    # A bulb: a yellow disc over a grey screw base.
    for y in range(size):
        for x in range(size):
            if (x - 15.5) ** 2 + (y - 12) ** 2 <= 10 ** 2:
                img[y][x] = (0xFF, 0xE0, 0x40, 0xFF)
            if (x - 15.5) ** 2 + (y - 12) ** 2 <= 10 ** 2 and (x - 15.5) ** 2 + (y - 12) ** 2 > 8.6 ** 2:
                img[y][x] = (0x80, 0x60, 0x00, 0xFF)
    for y in range(21, 29):
        for x in range(11, 21):
            img[y][x] = (0x70, 0x70, 0x70, 0xFF) if y % 2 else (0xA0, 0xA0, 0xA0, 0xFF)
    for (x, y) in [(12, 8), (13, 7), (14, 6)]:
        img[y][x] = (0xFF, 0xFF, 0xFF, 0xFF)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            p = img[y][x]
            xor += bytes((p[2], p[1], p[0], p[3])) if p else b"\0\0\0\0"
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(4)
        for x in range(size):
            if img[y][x] is None:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    data = header + xor + mask
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), 22) + data


def cursor(grid, hotspot):
    """grid: 32 strings of 32: '#' black, '.' white, ' ' transparent. A monochrome cursor file."""
    size = 32
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    pal = bytes((0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0))
    xor = bytearray()
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        xrow, mrow = bytearray(4), bytearray(4)
        for x in range(size):
            ch = grid[y][x]
            if ch == '.':
                xrow[x // 8] |= 0x80 >> (x % 8)
            if ch == ' ':
                mrow[x // 8] |= 0x80 >> (x % 8)
        xor += xrow
        mask += mrow
    data = header + pal + xor + mask
    entry = struct.pack("<BBBBHHII", size, size, 2, 0, hotspot[0], hotspot[1], len(data), 22)
    return struct.pack("<HHH", 0, 2, 1) + entry + data


def place(grid, rows, left, top):
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch != ' ':
                grid[top + dy][left + dx] = ch


def outline(grid):
    """Every transparent pixel next to a black one turns white, so the shape shows on any colour."""
    size = len(grid)
    marks = []
    for y in range(size):
        for x in range(size):
            if grid[y][x] != ' ':
                continue
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    yy, xx = y + dy, x + dx
                    if 0 <= yy < size and 0 <= xx < size and grid[yy][xx] == '#':
                        marks.append((y, x))
    for y, x in marks:
        grid[y][x] = '.'


ARROW = [
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#........#",
    "#.....#####",
    "#..#..#",
    "#.# #..#",
    "##  #..#",
    "#    #..#",
    "     #..#",
    "      ##",
]

PLUS_BOX = [
    "###########",
    "#.........#",
    "#....#....#",
    "#....#....#",
    "#..#####..#",
    "#....#....#",
    "#....#....#",
    "#.........#",
    "###########",
]


def copy_cursor():
    grid = [[' '] * 32 for _ in range(32)]
    place(grid, ARROW, 0, 0)
    place(grid, PLUS_BOX, 10, 18)
    return ["".join(r) for r in grid]


def size_cursor():
    grid = [[' '] * 32 for _ in range(32)]
    for y in range(8, 24):
        grid[y][14] = '#'
        grid[y][17] = '#'
    for x in range(5, 14):
        grid[15][x] = grid[16][x] = '#'
    for x in range(18, 27):
        grid[15][x] = grid[16][x] = '#'
    for i in range(1, 4):
        for y in range(15 - i, 17 + i):
            grid[y][5 + i] = '#'
            grid[y][26 - i] = '#'
    outline(grid)
    return ["".join(r) for r in grid]


open("seccopy.cur", "wb").write(cursor(copy_cursor(), (0, 0)))
open("secsize.cur", "wb").write(cursor(size_cursor(), (15, 15)))
open("secarrowdn.bmp", "wb").write(bmp_4bit(arrow(True)))
open("secarrowrt.bmp", "wb").write(bmp_4bit(arrow(False)))
open("sectip.ico", "wb").write(icon())
