#!/usr/bin/env python3
"""Writes the shell's images: toolbar.bmp (the strip of every toolbar button, 16x15 each, 4-bit,
drawn on the light grey that the loader recolours to the button face), the selection indicator
bitmaps sel_none.bmp, sel_valid.bmp and sel_invalid.bmp, and the Resource window's tab icons
tab_maps.ico, tab_objects.ico and tab_textures.ico. Run it from this directory."""
import struct

# The 16 colours of the 4-bit images (index: red, green, blue).
PALETTE = [
    (0, 0, 0), (0x80, 0, 0), (0, 0x80, 0), (0x80, 0x80, 0), (0, 0, 0x80), (0x80, 0, 0x80), (0, 0x80, 0x80),
    (0x80, 0x80, 0x80), (0xC0, 0xC0, 0xC0), (0xFF, 0, 0), (0, 0xFF, 0), (0xFF, 0xFF, 0), (0, 0, 0xFF),
    (0xFF, 0, 0xFF), (0, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
K, DRED, DGRN, OLIVE, NAVY, PURP, TEAL, GREY, BG, RED, GRN, YEL, BLUE, MAG, CYAN, WHITE = range(16)

W, H = 16, 15


class Glyph:
    def __init__(self, w=W, h=H, bg=BG):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def dot(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c, fill=None):
        if fill is not None:
            for y in range(y0 + 1, y1):
                for x in range(x0 + 1, x1):
                    self.dot(x, y, fill)
        for x in range(x0, x1 + 1):
            self.dot(x, y0, c)
            self.dot(x, y1, c)
        for y in range(y0, y1 + 1):
            self.dot(x0, y, c)
            self.dot(x1, y, c)

    def box(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.dot(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def art(self, x0, y0, rows, colours):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in colours:
                    self.dot(x0 + dx, y0 + dy, colours[ch])


DIGITS = {
    1: [".#.", "##.", ".#.", ".#.", "###"], 2: ["##.", "..#", ".#.", "#..", "###"],
    3: ["##.", "..#", ".#.", "..#", "##."], 4: ["#.#", "#.#", "###", "..#", "..#"],
    5: ["###", "#..", "##.", "..#", "##."], 6: [".##", "#..", "##.", "#.#", ".#."],
    7: ["###", "..#", ".#.", ".#.", ".#."], 8: [".#.", "#.#", ".#.", "#.#", ".#."],
    9: [".#.", "#.#", ".##", "..#", "##."],
}


def page(g, x0=2, y0=0, x1=11, y1=13):
    g.rect(x0, y0, x1, y1, K, WHITE)
    g.line(x1 - 3, y0, x1, y0 + 3, K)
    g.box(x1 - 2, y0, x1, y0 + 1, BG)
    g.line(x1 - 3, y0, x1 - 3, y0 + 3, K)
    g.line(x1 - 3, y0 + 3, x1, y0 + 3, K)


def disk(g, x0=1, y0=1, c=NAVY):
    g.rect(x0, y0, x0 + 12, y0 + 12, K, c)
    g.box(x0 + 3, y0 + 1, x0 + 9, y0 + 5, WHITE)
    g.box(x0 + 3, y0 + 8, x0 + 9, y0 + 11, GREY)
    g.box(x0 + 7, y0 + 9, x0 + 8, y0 + 10, K)


def map_window(g, label_rows):
    g.rect(0, 1, 15, 13, K, WHITE)
    g.box(1, 2, 14, 3, NAVY)
    g.art(4, 6, label_rows, {'#': K})


def g_new():
    g = Glyph(); page(g)
    g.art(9, 7, ["..#..", ".###.", "#####", ".###.", "..#.."], {'#': YEL})
    return g


def g_open():
    g = Glyph()
    g.rect(0, 4, 11, 13, K, OLIVE)
    g.box(1, 3, 4, 3, K)
    g.line(3, 7, 15, 7, K); g.line(3, 7, 0, 13, K); g.line(15, 7, 11, 13, K)
    for y in range(8, 13):
        for x in range(3 - (y - 7) // 2, 15 - (y - 7) // 2):
            g.dot(x, y, YEL)
    g.line(10, 1, 13, 1, K); g.line(13, 1, 13, 4, K); g.dot(14, 3, K); g.dot(12, 3, K)
    return g


def g_save():
    g = Glyph(); disk(g, 1, 1); return g


def g_save_all():
    g = Glyph(); disk(g, 3, 0, TEAL); disk(g, 0, 2); return g


def g_new_view(rows, camera=False):
    g = Glyph()
    if camera:
        g.rect(0, 1, 15, 13, K, WHITE)
        g.box(1, 2, 14, 3, NAVY)
        g.box(3, 6, 10, 11, K); g.box(4, 7, 9, 10, GREY)
        g.line(11, 8, 13, 6, K); g.line(11, 9, 13, 11, K); g.line(13, 6, 13, 11, K)
    else:
        map_window(g, rows)
    return g


def g_cut():
    g = Glyph()
    g.rect(2, 9, 5, 12, K); g.rect(9, 9, 12, 12, K)
    g.line(4, 8, 10, 0, K); g.line(10, 8, 4, 0, K)
    g.line(5, 8, 10, 1, GREY); g.line(9, 8, 4, 1, GREY)
    return g


def g_copy():
    g = Glyph(); page(g, 1, 0, 9, 10); page(g, 6, 4, 14, 14)
    for y in (7, 9, 11):
        g.line(8, y, 12, y, GREY)
    return g


def g_paste():
    g = Glyph()
    g.rect(1, 2, 11, 14, K, OLIVE)
    g.rect(4, 0, 8, 3, K, GREY)
    page(g, 6, 5, 14, 14)
    return g


def g_clone():
    g = Glyph()
    g.rect(1, 1, 8, 8, K, OLIVE); g.rect(6, 6, 13, 13, K, YEL)
    g.line(9, 2, 12, 2, RED); g.line(12, 2, 12, 4, RED)
    return g


def g_axis(letter):
    g = Glyph()
    g.line(1, 7, 14, 7, GREY); g.line(7, 1, 7, 13, GREY)
    g.box(4, 4, 10, 10, WHITE)
    g.rect(3, 3, 11, 11, RED)
    rows = {"X": ["#.#", "#.#", ".#.", "#.#", "#.#"], "Y": ["#.#", "#.#", ".#.", ".#.", ".#."],
            "Z": ["###", "..#", ".#.", "#..", "###"]}[letter]
    g.art(6, 5, rows, {'#': K})
    return g


def brush_box(g, fill=OLIVE):
    g.rect(2, 5, 10, 13, K, fill)
    g.line(2, 5, 6, 1, K); g.line(10, 5, 14, 1, K); g.line(6, 1, 14, 1, K)
    g.line(14, 1, 14, 9, K); g.line(10, 13, 14, 9, K)
    for y in range(2, 5):
        g.line(7 - (y - 1), y, 14 - (y - 1) - 1, y, YEL)
    for x in range(11, 14):
        g.line(x, 5 - (x - 11), x, 12 - (x - 11), DRED)


def g_face_mode():
    g = Glyph(); brush_box(g); g.box(4, 7, 8, 11, RED); return g


def g_build():
    g = Glyph()
    g.box(1, 10, 14, 13, GREY); g.rect(1, 10, 14, 13, K)
    g.rect(5, 2, 10, 9, K, DRED)
    g.line(2, 7, 5, 4, K); g.line(13, 7, 10, 4, K)
    g.art(6, 4, ["####", "#..#", "####"], {'#': YEL})
    return g


def g_points(kind):
    g = Glyph()
    g.rect(2, 2, 13, 12, K, WHITE)
    pts = {"face": [(7, 7)], "edge": [(7, 2), (2, 7), (13, 7), (7, 12)],
           "vertex": [(2, 2), (13, 2), (2, 12), (13, 12)]}[kind]
    for x, y in pts:
        g.box(x - 1, y - 1, x + 1, y + 1, BLUE)
    return g


def g_clip_object():
    g = Glyph(); brush_box(g, GREY)
    g.line(0, 14, 15, 0, RED); g.line(0, 13, 14, 0, RED)
    return g


def g_target_paths():
    g = Glyph()
    g.rect(0, 9, 4, 13, K, YEL); g.rect(11, 1, 15, 5, K, GRN)
    g.line(4, 10, 11, 4, K)
    g.art(8, 3, ["###", "..#", "..#"], {'#': K})
    return g


def g_link_clip():
    g = Glyph()
    g.rect(0, 5, 6, 9, K); g.rect(9, 5, 15, 9, K)
    g.line(4, 7, 11, 7, K)
    g.line(1, 0, 1, 3, BLUE); g.line(14, 11, 14, 14, BLUE)
    return g


def g_grid_lines():
    g = Glyph()
    g.box(1, 1, 14, 13, WHITE)
    for v in (1, 5, 9, 13):
        g.line(v, 1, v, 13, GREY)
        g.line(1, v, 14, v, GREY)
    g.rect(1, 1, 14, 13, K)
    return g


def g_snap_grid():
    g = g_grid_lines()
    g.box(8, 8, 10, 10, RED)
    g.line(3, 3, 8, 8, K)
    return g


def g_snap_angle():
    g = Glyph()
    g.line(1, 13, 14, 13, K); g.line(1, 13, 11, 3, K)
    for (x, y) in [(6, 12), (7, 11), (7, 10), (7, 9), (6, 8)]:
        g.dot(x, y, RED)
    g.box(10, 2, 12, 4, RED)
    return g


def g_combo(kind):
    g = Glyph()
    g.rect(0, 3, 15, 11, K, WHITE)
    g.box(11, 4, 14, 10, BG)
    g.art(11, 6, ["####", ".##."], {'#': K})
    if kind == "grid":
        for v in (3, 6, 9):
            g.line(v, 4, v, 10, GREY)
        g.line(1, 7, 10, 7, GREY)
    elif kind == "angle":
        g.line(2, 10, 9, 10, K); g.line(2, 10, 8, 5, K)
    elif kind == "scale":
        g.rect(2, 5, 6, 9, K); g.rect(4, 6, 9, 9, BLUE)
    else:
        g.line(5, 4, 5, 10, K); g.line(3, 6, 5, 4, K); g.line(7, 6, 5, 4, K)
    return g


def g_project(kind):
    g = Glyph()
    g.rect(1, 1, 12, 13, K, TEAL)
    g.box(3, 3, 10, 5, WHITE)
    g.art(3, 7, ["########", "#......#", "########"], {'#': NAVY})
    if kind == "new":
        g.art(10, 8, ["..#..", ".###.", "#####", ".###.", "..#.."], {'#': YEL})
    elif kind == "open":
        g.line(9, 10, 15, 10, K); g.line(9, 10, 9, 14, K); g.line(9, 14, 15, 14, K)
        g.box(10, 11, 15, 13, YEL)
    else:
        g.box(9, 9, 15, 14, NAVY); g.box(10, 9, 14, 10, WHITE); g.box(11, 12, 13, 14, GREY)
    return g


def g_window(kind):
    g = Glyph()
    if kind == "cascade":
        for i, c in enumerate((TEAL, NAVY)):
            g.rect(1 + 4 * i, 1 + 4 * i, 10 + 4 * i, 9 + 4 * i, K, WHITE)
            g.box(2 + 4 * i, 2 + 4 * i, 9 + 4 * i, 3 + 4 * i, c)
    elif kind == "horz":
        for y0 in (0, 7):
            g.rect(1, y0, 14, y0 + 6, K, WHITE)
            g.box(2, y0 + 1, 13, y0 + 2, NAVY)
    elif kind == "vert":
        for x0 in (0, 8):
            g.rect(x0, 1, x0 + 7, 13, K, WHITE)
            g.box(x0 + 1, 2, x0 + 6, 3, NAVY)
    else:
        g.rect(0, 1, 15, 13, K, WHITE)
        g.box(1, 2, 14, 3, NAVY)
        for y in (6, 8, 10):
            g.line(2, y, 12, y, GREY)
        g.line(2, 6, 8, 6, K)
    return g


def g_tool(n):
    g = Glyph()
    # A wrench with the tool's number.
    g.line(2, 13, 8, 7, GREY); g.line(3, 13, 9, 7, K); g.line(2, 12, 8, 6, K)
    g.rect(7, 2, 11, 6, K, GREY)
    g.box(9, 2, 10, 3, BG)
    g.art(12, 9, DIGITS[n], {'#': NAVY})
    return g


def g_align(kind):
    g = Glyph()
    # The reference edge in red, two boxes lined up against it.
    if kind == "minx":
        g.line(1, 0, 1, 14, RED); g.rect(2, 2, 10, 5, K, YEL); g.rect(2, 8, 14, 12, K, TEAL)
    elif kind == "maxx":
        g.line(14, 0, 14, 14, RED); g.rect(5, 2, 13, 5, K, YEL); g.rect(1, 8, 13, 12, K, TEAL)
    elif kind == "maxy":
        g.line(0, 1, 15, 1, RED); g.rect(1, 2, 5, 10, K, YEL); g.rect(8, 2, 13, 13, K, TEAL)
    elif kind == "miny":
        g.line(0, 13, 15, 13, RED); g.rect(1, 4, 5, 12, K, YEL); g.rect(8, 1, 13, 12, K, TEAL)
    elif kind == "cx":
        g.line(7, 0, 7, 14, RED); g.rect(3, 2, 11, 5, K, YEL); g.rect(1, 8, 13, 12, K, TEAL); g.line(7, 0, 7, 14, RED)
    else:
        g.line(0, 7, 15, 7, RED); g.rect(1, 3, 5, 11, K, YEL); g.rect(8, 1, 13, 13, K, TEAL); g.line(0, 7, 15, 7, RED)
    return g


XY = ["#.#.#.#", "#.#.#.#", ".#...#.", "#.#..#.", "#.#..#."]
XZ = ["#.#.###", "#.#...#", ".#...#.", "#.#.#..", "#.#.###"]
YZ = ["#.#.###", "#.#...#", ".#...#.", ".#..#..", ".#..###"]

# The strip in the toolbar resource's order (separators left out).
STRIP = [
    (32785, g_new), (32786, g_open), (32788, g_save), (32790, g_save_all),
    (32796, lambda: g_new_view(XY)), (32797, lambda: g_new_view(XZ)), (32798, lambda: g_new_view(YZ)),
    (32799, lambda: g_new_view(None, True)),
    (57635, g_cut), (57634, g_copy), (57637, g_paste), (32867, g_clone),
    (32855, lambda: g_axis("X")), (32853, lambda: g_axis("Y")), (32854, lambda: g_axis("Z")),
    (33003, g_face_mode), (32920, g_build), (32871, lambda: g_points("face")), (33001, lambda: g_points("edge")),
    (33002, lambda: g_points("vertex")), (32915, g_clip_object), (33006, g_target_paths),
    (32942, g_link_clip), (32843, g_grid_lines), (32951, lambda: g_combo("grid")), (32949, g_snap_grid),
    (32950, lambda: g_combo("angle")), (32954, g_snap_angle), (32952, lambda: g_combo("scale")),
    (32953, lambda: g_combo("depth")),
    (32779, lambda: g_project("new")), (32778, lambda: g_project("open")), (32780, lambda: g_project("save")),
    (57651, lambda: g_window("cascade")), (57652, lambda: g_window("horz")), (57650, lambda: g_window("vert")),
    (32929, lambda: g_window("output")),
] + [(45102 + i, (lambda n: lambda: g_tool(n))(i + 1)) for i in range(9)] + [
    (32993, lambda: g_align("minx")), (32994, lambda: g_align("maxx")), (32995, lambda: g_align("maxy")),
    (32996, lambda: g_align("miny")), (32998, lambda: g_align("cx")), (32997, lambda: g_align("cy")),
]


def bmp_4bit(px):
    h, w = len(px), len(px[0])
    stride = ((w * 4 + 31) // 32) * 4
    bits = bytearray()
    for row in reversed(px):
        line = bytearray(stride)
        for x, v in enumerate(row):
            line[x // 2] |= v << (4 if x % 2 == 0 else 0)
        bits += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(bits), 0, 0, 16, 0)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    off = 14 + len(header) + len(pal)
    return struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off) + header + pal + bits


def strip():
    glyphs = [make() for _, make in STRIP]
    px = [[BG] * (W * len(glyphs)) for _ in range(H)]
    for i, g in enumerate(glyphs):
        for y in range(H):
            for x in range(W):
                px[y][i * W + x] = g.px[y][x]
    return px


def selection(kind):
    g = Glyph(14, 14)
    if kind == "none":
        g.rect(2, 2, 11, 11, GREY)
    else:
        c = GRN if kind == "valid" else RED
        g.rect(2, 2, 11, 11, K, c)
        if kind == "valid":
            g.line(4, 7, 6, 9, K); g.line(6, 9, 9, 4, K)
        else:
            g.line(4, 4, 9, 9, WHITE); g.line(9, 4, 4, 9, WHITE)
    return g.px


def icon(kind):
    size = 16
    g = Glyph(size, size, None)
    if kind == "maps":
        g.rect(1, 2, 14, 13, K, WHITE)
        g.box(2, 3, 13, 4, NAVY)
        g.rect(4, 7, 9, 11, K, OLIVE); g.line(4, 7, 6, 5, K); g.line(9, 7, 11, 5, K); g.line(6, 5, 11, 5, K)
        g.line(11, 5, 11, 9, K); g.line(9, 11, 11, 9, K)
    elif kind == "objects":
        g.rect(1, 6, 8, 13, K, OLIVE); g.rect(6, 2, 14, 9, K, TEAL)
    else:
        for y in range(2, 14):
            for x in range(2, 14):
                g.dot(x, y, DRED if ((x // 3) + (y // 3)) % 2 else OLIVE)
        g.rect(1, 1, 14, 14, K)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            v = g.px[y][x]
            xor += bytes((PALETTE[v][2], PALETTE[v][1], PALETTE[v][0], 0xFF)) if v is not None else b"\0\0\0\0"
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        bits = bytearray(4)
        for x in range(size):
            if g.px[y][x] is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    data = header + bytes(xor) + bytes(mask)
    return struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), 22) + data


if __name__ == "__main__":
    with open("toolbar.bmp", "wb") as f:
        f.write(bmp_4bit(strip()))
    for kind in ("none", "valid", "invalid"):
        with open("sel_%s.bmp" % kind, "wb") as f:
            f.write(bmp_4bit(selection(kind)))
    for kind in ("maps", "objects", "textures"):
        with open("tab_%s.ico" % kind, "wb") as f:
            f.write(icon(kind))
    print("strip of %d buttons" % len(STRIP))
    print(",".join(str(i) for i, _ in STRIP))
