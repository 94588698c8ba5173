#!/usr/bin/env python3
"""Draws the six command-bar pictures of the main window (Data, Apps, Setups,
GPS, Helps, Exit Program) as 125 x 125 pixel 24-bit .bmp files, so no binary
is kept in the sources. Each is a rounded coloured tile with a picture and its
label; the corners outside the tile carry the main window's green.

Usage: make_bitmaps.py OUTPUT_FOLDER
Writes bar_data.bmp, bar_apps.bmp, bar_setups.bmp, bar_gps.bmp,
bar_helps.bmp and bar_exit.bmp.
"""
import math
import os
import struct
import sys

SIZE = 125
SAMPLES = 3  # per axis: 9 samples a pixel smooth the edges

GROUND = (0, 160, 0)  # the main window's green
WHITE = (255, 255, 255)

# 5-column glyphs; rows 0-6 stand on the base line, rows 7-8 are descenders.
GLYPHS = {
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "G": [".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "t": [".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##."],
    "p": [".....", ".....", "####.", "#...#", "#...#", "#...#", "####.", "#....", "#...."],
    "g": [".....", ".....", ".####", "#...#", "#...#", "#...#", ".####", "....#", ".###."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "u": [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "x": [".....", ".....", "#...#", ".#.#.", "..#..", ".#.#.", "#...#"],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "r": [".....", ".....", "#.##.", "##..#", "#....", "#....", "#...."],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "m": [".....", ".....", "##.#.", "#.#.#", "#.#.#", "#.#.#", "#.#.#"],
    " ": [".....", ".....", ".....", ".....", ".....", ".....", "....."],
}


class Text:
    """A line of glyph text placed with its top-left corner at (x, y), each
    glyph cell sx wide and sy high per glyph pixel."""

    def __init__(self, text, x, y, sx, sy):
        self.text, self.x, self.y, self.sx, self.sy = text, x, y, sx, sy

    @staticmethod
    def width(text, sx):
        return (len(text) * 6 - 1) * sx

    def covers(self, px, py):
        gx = (px - self.x) / self.sx
        gy = (py - self.y) / self.sy
        if gx < 0 or gy < 0:
            return False
        index, column = divmod(int(gx), 6)
        if index >= len(self.text) or column == 5:
            return False
        rows = GLYPHS[self.text[index]]
        row = int(gy)
        return row < len(rows) and rows[row][column] == "#"


def inside_rounded(px, py, x0, y0, x1, y1, r):
    """Whether (px, py) lies in the rectangle [x0, x1] x [y0, y1] with corners of radius r."""
    if px < x0 or px > x1 or py < y0 or py > y1:
        return False
    cx = min(max(px, x0 + r), x1 - r)
    cy = min(max(py, y0 + r), y1 - r)
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def in_circle(px, py, cx, cy, r):
    return (px - cx) ** 2 + (py - cy) ** 2 <= r * r


def in_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])

    d1 = side((px, py), a, b)
    d2 = side((px, py), b, c)
    d3 = side((px, py), c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


def shade(colour, factor):
    return tuple(max(0, min(255, int(c * factor))) for c in colour)


# ---- The six pictures: each returns a colour for a point of the picture, or
# None where the tile shows through.

def data_picture(x, y):
    if inside_rounded(x, y, 48, 8, 76, 20, 4):
        return (150, 100, 40)  # the clip
    if inside_rounded(x, y, 30, 12, 94, 90, 5):
        if 38 <= x <= 86 and any(abs(y - line) <= 1.5 for line in (32, 44, 56, 68, 80)):
            return (40, 90, 170)
        if 52 <= x <= 53.5 and 26 <= y <= 84:
            return (200, 60, 60)  # the margin line
        return WHITE
    return None


def apps_picture(x, y):
    tiles = (((26, 12), (230, 70, 60)), ((66, 12), (250, 200, 40)),
             ((26, 52), (60, 170, 230)), ((66, 52), (240, 240, 240)))
    for (tx, ty), colour in tiles:
        if inside_rounded(x, y, tx, ty, tx + 33, ty + 33, 6):
            return colour
    return None


def setups_picture(x, y):
    cx, cy = 62, 50
    dx, dy = x - cx, y - cy
    r = math.hypot(dx, dy)
    if r <= 11:
        return None  # the hole
    angle = math.atan2(dy, dx)
    outer = 38 if math.cos(8 * angle) > 0.25 else 29
    if r <= outer:
        return (215, 215, 225) if r <= outer - 2.5 else (120, 120, 135)
    return None


def gps_picture(x, y):
    # A shadow under a red map pin.
    if ((x - 62) / 26.0) ** 2 + ((y - 88) / 6.0) ** 2 <= 1:
        return (20, 70, 70)
    cx, cy, r = 62, 36, 24
    in_head = in_circle(x, y, cx, cy, r)
    in_tail = in_triangle(x, y, (cx - 21, cy + 12), (cx + 21, cy + 12), (cx, 88))
    if in_head or in_tail:
        if in_circle(x, y, cx, cy, 9):
            return WHITE
        return (220, 40, 40)
    return None


def helps_picture(x, y):
    if not in_circle(x, y, 62, 50, 38):
        return None
    mark = (200, 120, 20)
    # A question mark: a hook (a ring open at the lower left), a stem, a dot.
    dx, dy = x - 62, y - 36
    r = math.hypot(dx, dy)
    if 7.5 <= r <= 17 and not (dy > 0 and dx < 0):
        return mark
    if 57.5 <= x <= 66.5 and 44 <= y <= 62:
        return mark
    if in_circle(x, y, 62, 73, 5.5):
        return mark
    return WHITE


def exit_picture(x, y):
    # An arrow leaving through an open door.
    if in_triangle(x, y, (86, 32), (86, 70), (110, 51)):
        return WHITE
    if 56 <= x <= 87 and 45 <= y <= 57:
        return WHITE
    if 24 <= x <= 64 and 12 <= y <= 90:
        if in_circle(x, y, 35, 53, 3.5):
            return (250, 210, 60)  # the knob
        inner = 29 <= x <= 59 and 17 <= y <= 85
        return (110, 60, 25) if inner else (70, 35, 15)
    return None


BUTTONS = (
    ("bar_data.bmp", "Data", (40, 90, 170), data_picture),
    ("bar_apps.bmp", "Apps", (120, 60, 150), apps_picture),
    ("bar_setups.bmp", "Setups", (70, 80, 95), setups_picture),
    ("bar_gps.bmp", "GPS", (0, 120, 120), gps_picture),
    ("bar_helps.bmp", "Helps", (200, 120, 20), helps_picture),
    ("bar_exit.bmp", "Exit Program", (170, 30, 30), exit_picture),
)


def point_colour(x, y, label, tile, picture):
    if not inside_rounded(x, y, 1, 1, SIZE - 1, SIZE - 1, 14):
        return GROUND
    if not inside_rounded(x, y, 4, 4, SIZE - 4, SIZE - 4, 11):
        return shade(tile, 1.45)  # a light rim
    if label.covers(x, y):
        return WHITE
    colour = picture(x, y)
    if colour is not None:
        return colour
    return shade(tile, 1.2 - 0.4 * y / SIZE)  # lighter at the top


def draw(name, text, tile, picture):
    sx = min(2.0, 112.0 / (len(text) * 6 - 1))
    label = Text(text, (SIZE - Text.width(text, sx)) / 2, 98, sx, 2.0)
    rows = []
    for y in reversed(range(SIZE)):  # a .bmp stores its rows bottom-up
        row = bytearray()
        for x in range(SIZE):
            total = [0, 0, 0]
            for i in range(SAMPLES):
                for j in range(SAMPLES):
                    c = point_colour(x + (i + 0.5) / SAMPLES, y + (j + 0.5) / SAMPLES, label,
                                     tile, picture)
                    total[0] += c[0]
                    total[1] += c[1]
                    total[2] += c[2]
            n = SAMPLES * SAMPLES
            row += bytes((total[2] // n, total[1] // n, total[0] // n))
        row += bytes((4 - len(row) % 4) % 4)
        rows.append(bytes(row))
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + pixels


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_bitmaps.py OUTPUT_FOLDER")
    folder = sys.argv[1]
    os.makedirs(folder, exist_ok=True)
    for name, text, tile, picture in BUTTONS:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(draw(name, text, tile, picture))


if __name__ == "__main__":
    main()
