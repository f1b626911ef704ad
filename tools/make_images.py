#!/usr/bin/env python3
"""Draws the editor's images into res/bitmaps and the application icon into res/ico.

Each catalogue image is drawn twice: as named in xrc/psl_graphics.xrc, and at twice the size
for screens that scale by 2 (NAME@2x.png, listed under NAME@2x in xrc/psl_graphics_2x.xrc).

Needs only the Python standard library. The output is committed; run this again only after
changing a drawing:  python3 tools/make_images.py [RES_DIR]
"""

import os
import re
import struct
import sys
import zlib

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
MARK_GREY = (192, 192, 192)

# The classic 16-colour palette; the colour box and fill patterns are stored with it.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]

LINETYPE_UNITS = {
    0: None,
    1: (10, 6), 5: (10, 6), 17: (10, 6),
    2: (2, 6), 22: (2, 6),
    3: (10, 4, 2, 4), 25: (10, 4, 2, 4),
    4: (6, 4),
    6: (20, 4), 8: (20, 4),
    7: (12, 4),
    9: (40, 4),
    10: (10, 4, 20, 4),
    11: (10, 4, 6, 4, 6, 4),
    12: (20, 4, 6, 4), 23: (20, 4, 6, 4),
    13: (20, 4, 2, 4, 2, 4), 20: (20, 4, 2, 4, 2, 4),
    14: (20, 4, 2, 4), 19: (20, 4, 2, 4),
    15: (20, 4, 2, 4, 6, 4, 2, 4),
    16: (2, 22),
    18: (10, 22),
    21: (20, 4, 2, 4, 2, 4, 2, 4),
    24: (20, 4, 6, 4, 6, 4),
    26: (10, 4, 10, 4, 2, 4),
    27: (10, 4, 2, 4, 2, 4),
    28: (10, 4, 10, 4, 2, 4, 2, 4),
    29: (10, 4, 2, 4, 2, 4, 2, 4),
    30: (10, 4, 10, 4, 2, 4, 2, 4, 2, 4),
}

FILL_RULES = {
    "solid": lambda x, y: True,
    "checkerboard": lambda x, y: (x // 3 + (y + 2) // 3) % 2 == 1,
    "crosshatch": lambda x, y: (x + y) % 4 == 1 or (x - y) % 4 == 1,
    "diamonds": lambda x, y: not any(abs(x - cx) + abs(y - cy) <= 2
                                     for cx in (3, 9) for cy in (3, 9)),
    "horizontal_bars": lambda x, y: y % 3 == 0,
    "slant_left": lambda x, y: (x - y) % 4 == 1,
    "slant_right": lambda x, y: (x + y) % 4 == 1,
    "square_dots": lambda x, y: x % 4 != 3 and y % 4 != 2,
    "vertical_bars": lambda x, y: x % 3 == 0,
}


class Canvas:
    """A width x height grid of RGBA pixels, transparent to start with. Drawings address it in
    units of scale x scale pixels; width, height and pixels count the pixels."""

    def __init__(self, width, height, fill=(0, 0, 0, 0), scale=1):
        self.scale = scale
        self.width = width * scale
        self.height = height * scale
        self.pixels = [[fill] * self.width for _ in range(self.height)]

    def set_pixel(self, px, py, color):
        if 0 <= px < self.width and 0 <= py < self.height:
            self.pixels[py][px] = color if len(color) == 4 else color + (255,)

    def set(self, x, y, color):
        for py in range(y * self.scale, (y + 1) * self.scale):
            for px in range(x * self.scale, (x + 1) * self.scale):
                self.set_pixel(px, py, color)

    def rect(self, x0, y0, x1, y1, color):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, color)

    def paint(self, color_at):
        """Asks color_at(x, y) for each pixel's centre in units, where the unit (x, y) has its
        centre at (x, y); it answers a colour or None to leave the pixel."""
        for py in range(self.height):
            for px in range(self.width):
                color = color_at((px + 0.5) / self.scale - 0.5, (py + 0.5) / self.scale - 0.5)
                if color is not None:
                    self.set_pixel(px, py, color)


def png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png_bytes(width, height, color_type, bit_depth, rows, palette=None):
    raw = b"".join(b"\x00" + row for row in rows)
    header = struct.pack(">IIBBBBB", width, height, bit_depth, color_type, 0, 0, 0)
    chunks = [png_chunk(b"IHDR", header)]
    if palette is not None:
        chunks.append(png_chunk(b"PLTE", b"".join(bytes(c) for c in palette)))
    chunks.append(png_chunk(b"IDAT", zlib.compress(raw, 9)))
    chunks.append(png_chunk(b"IEND", b""))
    return b"\x89PNG\r\n\x1a\n" + b"".join(chunks)


def rgba_png(canvas):
    rows = [b"".join(bytes(p) for p in row) for row in canvas.pixels]
    return png_bytes(canvas.width, canvas.height, 6, 8, rows)


def rgb_png(canvas):
    rows = [b"".join(bytes(p[:3]) for p in row) for row in canvas.pixels]
    return png_bytes(canvas.width, canvas.height, 2, 8, rows)


def palette_png(canvas):
    rows = []
    for row in canvas.pixels:
        indices = [PALETTE16.index(p[:3]) for p in row]
        if len(indices) % 2:
            indices.append(0)
        rows.append(bytes(indices[i] << 4 | indices[i + 1] for i in range(0, len(indices), 2)))
    return png_bytes(canvas.width, canvas.height, 3, 4, rows, PALETTE16)


def ico_bytes(canvas):
    """One 32-bit image in an icon directory, stored as a bottom-up DIB with its AND mask."""
    size = canvas.width
    colors = b"".join(bytes((p[2], p[1], p[0], p[3]))
                      for row in reversed(canvas.pixels) for p in row)
    mask_row_bytes = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(canvas.pixels):
        bits = bytearray(mask_row_bytes)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    dib = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colors) + len(mask),
                      0, 0, 0, 0) + colors + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(dib), 6 + 16)
    return directory + entry + dib


GLYPHS = {
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "S": [".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
}


def draw_page(canvas, left, top, right, bottom, fold, line_rows):
    """A file page with its top right corner turned down."""
    outline, flap = (28, 78, 158), (236, 244, 255)
    corner = right - fold
    for y in range(top, bottom + 1):
        shade = (y - top) * 30 // max(1, bottom - top)
        for x in range(left, right + 1):
            if x - corner <= y - top:
                canvas.set(x, y, (206 - shade, 226 - shade // 2, 252))
    for step in range(fold + 1):
        for y in range(top + step, top + fold + 1):
            canvas.set(corner + step, y, flap)
        canvas.set(corner + step, top + step, outline)
        canvas.set(corner + step, top + fold, outline)
        canvas.set(corner, top + step, outline)
    canvas.rect(left, top, corner, top, outline)
    canvas.rect(left, top, left, bottom, outline)
    canvas.rect(left, bottom, right, bottom, outline)
    canvas.rect(right, top + fold, right, bottom, outline)
    for y in line_rows:
        canvas.rect(left + 4, y, right - 4, y, (112, 150, 212))


def table_kind_symbol(text, scale):
    canvas = Canvas(48, 48, scale=scale)
    draw_page(canvas, 10, 3, 41, 45, 10, range(24, 42, 4))
    tag = (44, 44, 54)
    canvas.rect(3, 8, 25, 18, tag)
    for x, y in ((3, 8), (25, 8), (3, 18), (25, 18)):
        canvas.set(x, y, (0, 0, 0, 0))
    for index, letter in enumerate(text):
        for row, pattern in enumerate(GLYPHS[letter]):
            for column, mark in enumerate(pattern):
                if mark == "#":
                    canvas.set(6 + index * 6 + column, 10 + row, WHITE)
    return canvas


def app_icon():
    canvas = Canvas(16, 16)
    draw_page(canvas, 2, 0, 13, 15, 4, [])
    for y, color, height in ((6, (210, 40, 40), 1), (9, (40, 150, 60), 2), (12, (30, 70, 200), 2)):
        canvas.rect(4, y, 10, y + height - 1, color)
    return canvas


def check_mark(with_mark, scale):
    canvas = Canvas(16, 16, MARK_GREY + (255,), scale)
    if with_mark:
        for x, y in ((4, 7), (5, 8), (6, 9), (7, 8), (8, 7), (9, 6), (10, 5), (11, 4)):
            canvas.rect(x, y, x, y + 2, BLACK)
    return canvas


def color_box(scale):
    canvas = Canvas(14, 14, BLACK + (255,), scale)
    canvas.rect(1, 1, 12, 12, (0, 255, 0))
    return canvas


def linetype(unit, scale):
    canvas = Canvas(80, 6, WHITE + (255,), scale)
    pattern = []
    for index, length in enumerate(unit or (76,)):
        pattern += [index % 2 == 0] * length
    for x in range(2, 78):
        if pattern[(x - 2) % len(pattern)]:
            canvas.rect(x, 2, x, 3, BLACK)
    return canvas


def lineweight(k, scale):
    canvas = Canvas(80, 14, WHITE + (255,), scale)
    top = 6 - (k - 1) // 2
    canvas.rect(2, top, 77, top + k - 1, BLACK)
    return canvas


def stroke_drawing(inside, path, scale):
    """A blue stroke with a grey outline one unit wide; path marks the stroke's centre line.
    inside and path take points in units and treat a unit's square as a whole, so that the
    drawing at twice the size follows the same shapes with smoother edges."""
    canvas = Canvas(13, 13, scale=scale)
    stroke, centre, outline = (52, 112, 220), (16, 58, 150), (128, 128, 128)
    steps = [step / scale for step in range(-scale, scale + 1)]

    def color_at(x, y):
        if inside(x, y):
            return centre if path(x, y) else stroke
        if any(inside(x + dx, y + dy) for dx in steps for dy in steps
               if -0.5 <= x + dx < 12.5 and -0.5 <= y + dy < 12.5):
            return outline
        return None
    canvas.paint(color_at)
    return canvas


def end_style(cap, scale):
    # A horizontal stroke, 5 units wide, whose path ends at column 7.
    def inside(x, y):
        dy = abs(y - 6)
        if dy > 2.5:
            return False
        if x <= 7.5:
            return True
        dx = x - 7
        return {"butt": False, "square": dx <= 2.5, "round": dx * dx + dy * dy <= 6.25,
                "diamond": dx + dy <= 3.5}[cap]
    return stroke_drawing(inside, lambda x, y: abs(y - 6) < 0.5 and x <= 7.5, scale)


def join_style(corner, scale):
    # A stroke that comes up from the bottom and turns right at (5, 5).
    def inside(x, y):
        if (abs(x - 5) <= 2.5 and y >= 4.5) or (abs(y - 5) <= 2.5 and x >= 4.5):
            return True
        dx, dy = x - 5, y - 5
        square = abs(dx) <= 2.5 and abs(dy) <= 2.5
        return {"miter": square, "bevel": square and dx + dy >= -2.5,
                "round": dx * dx + dy * dy <= 6.25, "diamond": abs(dx) + abs(dy) <= 4.5}[corner]
    return stroke_drawing(
        inside, lambda x, y: (abs(y - 5) < 0.5 and x >= 4.5) or (abs(x - 5) < 0.5 and y >= 4.5),
        scale)


def fill_style(rule, scale):
    canvas = Canvas(13, 13, scale=scale)
    for y in range(13):
        for x in range(13):
            canvas.set(x, y, BLACK if rule(x, y) else WHITE)
    return canvas


def catalogue_images(scale):
    """The catalogue's images drawn at scale, by their file names without extension."""
    yield "ctb_48x48_depth32", rgba_png(table_kind_symbol("CTB", scale))
    yield "stb_48x48_depth32", rgba_png(table_kind_symbol("STB", scale))
    yield "mark_check", rgb_png(check_mark(True, scale))
    yield "mark_empty", rgb_png(check_mark(False, scale))
    yield "style_color_box", palette_png(color_box(scale))
    for number, unit in sorted(LINETYPE_UNITS.items()):
        yield "style_linetype_%02d" % number, rgba_png(linetype(unit, scale))
    for k in range(1, 15):
        yield "style_lineweight_%02d" % k, rgba_png(lineweight(k, scale))
    for cap in ("butt", "square", "round", "diamond"):
        yield "style_end_%s" % cap, rgba_png(end_style(cap, scale))
    for corner in ("miter", "bevel", "round", "diamond"):
        yield "style_join_%s" % corner, rgba_png(join_style(corner, scale))
    for name, rule in FILL_RULES.items():
        yield "style_fill_%s" % name, palette_png(fill_style(rule, scale))


def double_resolution_catalogue(catalogue):
    """The catalogue document with every bitmap NAME of file F.png as NAME@2x of F@2x.png."""
    return re.sub(r'(<object class="wxBitmap" name="[^"]+)(">[^<]+)\.png<',
                  r'\1@2x\2@2x.png<', catalogue)


def images(res):
    for scale, suffix in ((1, ""), (2, "@2x")):
        for name, data in catalogue_images(scale):
            yield "bitmaps/%s%s.png" % (name, suffix), data
    yield "ico/app_16.ico", ico_bytes(app_icon())
    with open(os.path.join(res, "xrc", "psl_graphics.xrc"), encoding="utf-8") as catalogue:
        yield "xrc/psl_graphics_2x.xrc", double_resolution_catalogue(catalogue.read()).encode()


def main():
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "res")
    for path, data in images(res):
        target = os.path.join(res, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
