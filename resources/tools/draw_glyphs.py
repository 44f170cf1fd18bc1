#!/usr/bin/env python3
"""Draws the built-in symbol sheet, symbol font and stitch tile from simple shapes.

Writes resources/symbols.pbm (plain PBM, 180 x 216, 1 = black), resources/stitch.ppm (plain PPM,
18 x 18, white and silver), resources/symbols.ttf (the sheet's glyphs as TrueType outlines) and
render/symbol_code_points.h (the font's character for each glyph, for the C++ code). All are
committed; the build only embeds them, so this script and its tools are needed only when a glyph
is redrawn. The sheet and tile need only the standard library; the font needs fontTools and the
potrace program (Debian packages python3-fonttools and potrace).

    python3 resources/tools/draw_glyphs.py [--preview sheet.png]

Shapes are described in continuous cell coordinates: (0, 0) is the top-left corner of the
18 x 18 cell and pixel (x, y) covers [x, x+1) x [y, y+1), so its centre is (x+0.5, y+0.5). A
pixel is black when its centre lies inside a shape. The visible area of a cell is pixels 1..16;
glyphs are drawn around (9, 9) in a box of about 12 x 12 (pixels 3..14), then moved so their
bounding box sits in the middle of the cell.
"""

import argparse
import math
import os
import re
import struct
import subprocess
import sys
import zlib

CELL = 18
COLUMNS = 10
ROWS = 12
GLYPH_COUNT = COLUMNS * ROWS
SILVER = 192


class Glyph:
    """One cell of booleans (True = black) with shape primitives.

    At scale 1 the cell is the 18 x 18 pixels of the sheet. At a larger scale every pixel is
    split into scale x scale sub-pixels and the same shapes are tested on their centres, which
    gives the fine bitmap that the font's outlines are traced from.
    """

    def __init__(self, scale=1):
        self.scale = scale
        self.size = CELL * scale
        self.px = [[False] * self.size for _ in range(self.size)]  # px[y][x]

    def paint(self, inside, value=True, box=None):
        """Sets every (sub-)pixel whose centre is inside. box = (x0, y0, x1, y1), in cell
        coordinates, may bound the shape so that points far from it are not tested."""
        s, n = self.scale, self.size
        i0, j0, i1, j1 = 0, 0, n, n
        if box is not None:
            i0, j0 = max(0, math.floor(box[0] * s)), max(0, math.floor(box[1] * s))
            i1, j1 = min(n, math.ceil(box[2] * s) + 1), min(n, math.ceil(box[3] * s) + 1)
        for y in range(j0, j1):
            cy = (y + 0.5) / s
            row = self.px[y]
            for x in range(i0, i1):
                if inside((x + 0.5) / s, cy):
                    row[x] = value

    # Integer pixel rectangles, corners inclusive: the crisp way to draw straight strokes.
    def rect(self, x0, y0, x1, y1, value=True):
        s = self.scale
        for y in range(y0 * s, (y1 + 1) * s):
            for x in range(x0 * s, (x1 + 1) * s):
                self.px[y][x] = value

    def frame(self, x0, y0, x1, y1, w=2):
        self.rect(x0, y0, x1, y0 + w - 1)
        self.rect(x0, y1 - w + 1, x1, y1)
        self.rect(x0, y0, x0 + w - 1, y1)
        self.rect(x1 - w + 1, y0, x1, y1)

    def line(self, p, q, w=2.0, value=True):
        box = (min(p[0], q[0]) - w, min(p[1], q[1]) - w, max(p[0], q[0]) + w, max(p[1], q[1]) + w)
        self.paint(lambda x, y: seg_dist(x, y, p, q) <= w / 2, value, box)

    def path(self, points, w=2.0, value=True):
        for p, q in zip(points, points[1:]):
            self.line(p, q, w, value)

    def disc(self, cx, cy, r, value=True):
        self.paint(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, value,
                   (cx - r, cy - r, cx + r, cy + r))

    def ring(self, cx, cy, r_out, r_in, value=True):
        self.paint(lambda x, y: r_in ** 2 < (x - cx) ** 2 + (y - cy) ** 2 <= r_out ** 2, value,
                   (cx - r_out, cy - r_out, cx + r_out, cy + r_out))

    def ellipse_ring(self, cx, cy, rx, ry, w):
        def inside(x, y, rx, ry):
            return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1
        self.paint(lambda x, y: inside(x, y, rx, ry) and not inside(x, y, rx - w, ry - w))

    def arc(self, cx, cy, r_out, r_in, a0, a1, value=True):
        """Part of a ring between angles a0..a1 in degrees, 0 = right, 90 = up."""
        def inside(x, y):
            d2 = (x - cx) ** 2 + (y - cy) ** 2
            if not r_in ** 2 < d2 <= r_out ** 2:
                return False
            return angle_between(math.degrees(math.atan2(cy - y, x - cx)), a0, a1)
        self.paint(inside, value, (cx - r_out, cy - r_out, cx + r_out, cy + r_out))

    def polygon(self, points, value=True):
        self.paint(lambda x, y: point_in_polygon(x, y, points), value, bounds(points))

    def outline(self, points, w=2.0):
        """Polygon outline drawn inside the polygon's edge, w pixels thick."""
        edges = list(zip(points, points[1:] + points[:1]))
        self.paint(lambda x, y: point_in_polygon(x, y, points)
                   and min(seg_dist(x, y, p, q) for p, q in edges) <= w, True, bounds(points))

    def rim(self, inside, w=2.0):
        """The inner rim, w pixels wide, of any filled shape given as inside(x, y)."""
        probes = [(w * math.cos(a * math.pi / 8), w * math.sin(a * math.pi / 8))
                  for a in range(16)]
        probes += [(dx / 2, dy / 2) for dx, dy in probes]
        self.paint(lambda x, y: inside(x, y)
                   and any(not inside(x + dx, y + dy) for dx, dy in probes))

    def curve(self, fx, t0, t1, w=2.0, steps=64):
        pts = [fx(t0 + (t1 - t0) * i / steps) for i in range(steps + 1)]
        self.path(pts, w)

    def transform(self, fn):
        """Moves or mirrors the glyph: fn maps a point of the destination, in cell coordinates,
        to the point of the source whose (sub-)pixel it takes."""
        s, n = self.scale, self.size
        old = self.px
        self.px = [[False] * n for _ in range(n)]
        for y in range(n):
            for x in range(n):
                sx, sy = fn((x + 0.5) / s, (y + 0.5) / s)
                i, j = math.floor(sx * s), math.floor(sy * s)
                if 0 <= i < n and 0 <= j < n:
                    self.px[y][x] = old[j][i]

    def bbox(self):
        """Bounding box of the black (sub-)pixels, corners inclusive, in this glyph's grid."""
        xs = [x for row in self.px for x, b in enumerate(row) if b]
        ys = [y for y, row in enumerate(self.px) if any(row)]
        return min(xs), min(ys), max(xs), max(ys)

    def centring_shift(self):
        # The middle of the visible pixels 1..16 is 8.5; an odd-sized glyph leans right/down.
        x0, y0, x1, y1 = self.bbox()
        dx = math.floor(8.5 - (x0 + x1) / 2 + 0.5)
        dy = math.floor(8.5 - (y0 + y1) / 2 + 0.5)
        return dx, dy

    def shift(self, dx, dy):
        """Moves the glyph by whole pixels."""
        self.transform(lambda x, y: (x - dx, y - dy))


def bounds(points):
    xs, ys = [p[0] for p in points], [p[1] for p in points]
    return min(xs), min(ys), max(xs), max(ys)


def seg_dist(x, y, p, q):
    (ax, ay), (bx, by) = p, q
    vx, vy = bx - ax, by - ay
    length2 = vx * vx + vy * vy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * vx + (y - ay) * vy) / length2))
    return math.hypot(x - (ax + t * vx), y - (ay + t * vy))


def point_in_polygon(x, y, points):
    inside = False
    n = len(points)
    for i in range(n):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
        if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
            inside = not inside
    return inside


def angle_between(a, a0, a1):
    return (a - a0) % 360 <= (a1 - a0) % 360


def rotate(points, degrees, cx=9.0, cy=9.0):
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    return [(cx + (x - cx) * c - (y - cy) * s, cy + (x - cx) * s + (y - cy) * c)
            for x, y in points]


def star(cx, cy, r_out, r_in, tips, start=-90.0):
    pts = []
    for i in range(tips * 2):
        r = r_out if i % 2 == 0 else r_in
        a = math.radians(start + i * 180.0 / tips)
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


# Shared pieces ---------------------------------------------------------------------------------

DOT = 1.8  # a dot centred on a pixel corner: 4 x 4 with the corners cut


def arrow_down(g):
    g.rect(7, 3, 10, 8)
    g.polygon([(3, 8), (15, 8), (9, 15)])


def hollow_arrow(g, degrees):
    """Outline of an arrow pointing up, turned clockwise by degrees."""
    pts = [(9, 2.5), (15.5, 9), (11.5, 9), (11.5, 15.5), (6.5, 15.5), (6.5, 9), (2.5, 9)]
    g.outline(rotate(pts, degrees), 1.5)


def mirror_x(g):
    g.transform(lambda x, y: (CELL - x, y))


def flip_y(g):
    g.transform(lambda x, y: (x, CELL - y))


def swap_xy(g):
    g.transform(lambda x, y: (y, x))


def wave(g, cy, amplitude, periods, x0=3.0, x1=15.0, w=2.0):
    g.curve(lambda t: (x0 + (x1 - x0) * t,
                       cy - amplitude * math.sin(2 * math.pi * periods * t)), 0.0, 1.0, w)


# The 120 glyphs, in sheet order ------------------------------------------------------------------

def g000(g):  # filled disc
    g.disc(9, 9, 6)


def g001(g):  # plus sign
    g.rect(8, 3, 9, 14)
    g.rect(3, 8, 14, 9)


def g002(g):  # diagonal cross
    g.line((3.5, 3.5), (14.5, 14.5), 1.8)
    g.line((14.5, 3.5), (3.5, 14.5), 1.8)


def g003(g):  # ring
    g.ring(9, 9, 6, 4)


def g004(g):  # equals sign
    g.rect(3, 5, 14, 6)
    g.rect(3, 11, 14, 12)


def g005(g):  # five dots as on a die
    for cx, cy in ((5, 5), (13, 5), (9, 9), (5, 13), (13, 13)):
        g.disc(cx, cy, DOT)


def g006(g):  # letter T
    g.rect(3, 3, 14, 4)
    g.rect(8, 3, 9, 14)


def g007(g):  # three short strokes rising to the right, along a falling diagonal
    for c in (5.0, 9.0, 13.0):
        g.line((c - 2.2, c + 2.2), (c + 2.2, c - 2.2), 1.8)


def g008(g):  # hollow square
    g.frame(3, 3, 14, 14)


def g009(g):  # letter Y
    g.line((3.5, 3.5), (9, 9.5), 2.0)
    g.line((14.5, 3.5), (9, 9.5), 2.0)
    g.rect(8, 9, 9, 14)


def g010(g):  # ring with a central dot
    g.ring(9, 9, 6, 4)
    g.rect(8, 8, 9, 9)


def g011(g):  # hollow square with a diagonal from lower left to upper right
    g.frame(3, 3, 14, 14)
    g.line((4, 14), (14, 4), 1.8)


def g012(g):  # horizontal bar
    g.rect(3, 8, 14, 9)


def g013(g):  # four dots in a square
    for cx, cy in ((6, 6), (12, 6), (6, 12), (12, 12)):
        g.disc(cx, cy, DOT)


def g014(g):  # letter L
    g.rect(4, 3, 5, 14)
    g.rect(4, 13, 13, 14)


def g015(g):  # square arch
    g.rect(3, 3, 14, 4)
    g.rect(3, 3, 4, 14)
    g.rect(13, 3, 14, 14)


def g016(g):  # vertical bar
    g.rect(8, 3, 9, 14)


def g017(g):  # two filled squares, upper right and lower left
    g.rect(9, 3, 14, 8)
    g.rect(3, 9, 8, 14)


def g018(g):  # two vertical bars
    g.rect(5, 3, 6, 14)
    g.rect(11, 3, 12, 14)


def g019(g):  # filled right triangle, right angle at the lower right
    g.polygon([(15, 3), (15, 15), (3, 15)])


def g020(g):  # inverted T
    g.rect(3, 13, 14, 14)
    g.rect(8, 3, 9, 14)


def g021(g):  # filled arrow pointing down
    arrow_down(g)


def g022(g):  # hash sign
    g.rect(5, 3, 6, 14)
    g.rect(11, 3, 12, 14)
    g.rect(3, 5, 14, 6)
    g.rect(3, 11, 14, 12)


def g023(g):  # ring with its upper half filled
    g.ring(9, 9, 6, 4)
    g.paint(lambda x, y: y < 9 and (x - 9) ** 2 + (y - 9) ** 2 <= 36)


def g024(g):  # wide filled triangle pointing up
    g.polygon([(1.5, 13.5), (16.5, 13.5), (9, 4)])


def g025(g):  # diagonal stroke rising to the right
    g.line((3.5, 14.5), (14.5, 3.5), 2.0)


def g026(g):  # letter Z
    g.rect(3, 3, 14, 4)
    g.rect(3, 13, 14, 14)
    g.line((14, 5), (4, 13), 2.2)


def g027(g):  # three chevrons pointing right
    for x in (2.5, 7.0, 11.5):
        g.path([(x, 4.5), (x + 3.5, 9), (x, 13.5)], 1.8)


def g028(g):  # filled arrow pointing left
    arrow_down(g)
    swap_xy(g)  # the arrow now points right
    mirror_x(g)


def g029(g):  # heart outline
    g.rim(heart, 1.6)


def heart(x, y):
    """A filled heart around (9, 9): two round lobes and a point at the bottom."""
    lobes = (x - 6) ** 2 + (y - 6.5) ** 2 <= 3.5 ** 2 or (x - 12) ** 2 + (y - 6.5) ** 2 <= 3.5 ** 2
    # Below the lobes the sides run straight to the point at (9, 15.5), tangent to the lobes.
    body = 6.5 <= y <= 15.5 and abs(x - 9) <= 6.3 * (15.5 - y) / 9.0
    return lobes or body


def g030(g):  # three dots in a triangle, one above and two below
    for cx, cy in ((9, 5), (5, 12.5), (13, 12.5)):
        g.disc(cx, cy, DOT)


def g031(g):  # letter N
    g.rect(3, 3, 4, 14)
    g.rect(13, 3, 14, 14)
    g.line((4, 3.5), (14, 14.5), 2.2)


def g032(g):  # filled arrow pointing right
    arrow_down(g)
    swap_xy(g)


def g033(g):  # capital I with serifs
    g.rect(5, 3, 12, 4)
    g.rect(5, 13, 12, 14)
    g.rect(8, 3, 9, 14)


def g034(g):  # dot inside a lower-right corner bracket
    g.rect(13, 3, 14, 14)
    g.rect(3, 13, 14, 14)
    g.disc(8, 8, 2.2)


def g035(g):  # squared S
    g.rect(3, 3, 14, 4)
    g.rect(3, 3, 4, 9)
    g.rect(3, 8, 14, 9)
    g.rect(13, 8, 14, 14)
    g.rect(3, 13, 14, 14)


def g036(g):  # filled bowl (lower half-disc)
    g.paint(lambda x, y: y >= 6 and (x - 9) ** 2 + (y - 6) ** 2 <= 6.5 ** 2)


def g037(g):  # one wave period
    wave(g, 9, 3.5, 1.0, 2.5, 15.5)


def g038(g):  # five-pointed star outline
    g.outline(star(9, 9.6, 7.6, 3.2, 5), 1.5)


def g039(g):  # letter F
    g.rect(4, 3, 13, 4)
    g.rect(4, 3, 5, 14)
    g.rect(4, 8, 11, 9)


def g040(g):  # triangle outline
    g.outline([(9, 2.5), (15.5, 14.5), (2.5, 14.5)], 1.7)


def g041(g):  # letter H
    g.rect(3, 3, 4, 14)
    g.rect(13, 3, 14, 14)
    g.rect(3, 8, 14, 9)


def g042(g):  # two nested right-angle brackets opening to the lower left
    g.rect(3, 3, 14, 4)
    g.rect(13, 3, 14, 14)
    g.rect(3, 7, 10, 8)
    g.rect(9, 7, 10, 14)


def g043(g):  # small filled square
    g.rect(6, 6, 11, 11)


def g044(g):  # digit 1
    g.rect(8, 3, 9, 14)
    g.line((8.2, 3.8), (5, 6.5), 1.8)
    g.rect(5, 13, 12, 14)


def g045(g):  # prohibition sign
    g.ring(9, 9, 6.5, 4.6)
    g.line((5, 5), (13, 13), 2.0)


def g046(g):  # letter U
    g.rect(3, 3, 4, 9)
    g.rect(13, 3, 14, 9)
    g.arc(9, 9, 6, 4, 180, 360)


def g047(g):  # hollow square with its lower-left quarter filled
    g.frame(3, 3, 14, 14)
    g.rect(3, 9, 8, 14)


def g048(g):  # four-pointed star outline with concave sides
    g.outline(star(9, 9, 7.5, 3.0, 4), 1.2)


def g049(g):  # eight-ray burst around an empty centre
    g.rect(8, 2, 9, 5)
    g.rect(8, 12, 9, 15)
    g.rect(2, 8, 5, 9)
    g.rect(12, 8, 15, 9)
    for sx, sy in ((-1, -1), (1, -1), (-1, 1), (1, 1)):
        g.line((9 + 2.6 * sx, 9 + 2.6 * sy), (9 + 5.2 * sx, 9 + 5.2 * sy), 2.0)


def g050(g):  # diagonal stroke with a dot at its upper left and lower right
    g.line((4, 14), (14, 4), 1.8)
    g.disc(5, 5, DOT)
    g.disc(13, 13, DOT)


def g051(g):  # letter A
    g.line((3.5, 15), (9, 3), 2.0)
    g.line((14.5, 15), (9, 3), 2.0)
    g.rect(6, 10, 11, 11)


def g052(g):  # arrow pointing to the lower right
    g.line((4, 4), (13.5, 13.5), 2.0)
    g.rect(7, 13, 14, 14)
    g.rect(13, 7, 14, 14)


def g053(g):  # letter K
    g.rect(4, 3, 5, 14)
    g.line((5.5, 10), (13.5, 3), 2.0)
    g.line((7.5, 8.5), (13.5, 15), 2.0)


def g054(g):  # two wavy lines
    wave(g, 6, 1.6, 1.5, 2.5, 15.5, 1.8)
    wave(g, 12, 1.6, 1.5, 2.5, 15.5, 1.8)


def g055(g):  # digit 3
    g.rect(4, 3, 12, 4)
    g.rect(7, 8, 12, 9)
    g.rect(4, 13, 12, 14)
    g.rect(13, 4, 14, 8)
    g.rect(13, 9, 14, 13)


def g056(g):  # letter P
    g.rect(4, 3, 5, 14)
    g.rect(4, 3, 12, 4)
    g.rect(4, 9, 12, 10)
    g.rect(13, 4, 14, 9)


def g057(g):  # Cyrillic letter Sha
    g.rect(3, 3, 4, 14)
    g.rect(8, 3, 9, 14)
    g.rect(13, 3, 14, 14)
    g.rect(3, 13, 14, 14)


def g058(g):  # question mark
    g.arc(9, 6.5, 5, 3, -60, 180)
    g.line((11.2, 9.9), (9, 11), 2.0)
    g.rect(8, 10, 9, 11)
    g.rect(8, 14, 9, 15)


def g059(g):  # two triangles tip to tip between two vertical bars (bow tie)
    g.rect(2, 3, 3, 14)
    g.rect(14, 3, 15, 14)
    g.polygon([(5, 3.5), (9, 9), (5, 14.5)])
    g.polygon([(13, 3.5), (9, 9), (13, 14.5)])


def g060(g):  # letter V
    g.line((3.5, 3), (9, 15), 2.0)
    g.line((14.5, 3), (9, 15), 2.0)


def g061(g):  # division sign
    g.rect(3, 8, 14, 9)
    g.disc(9, 4.5, DOT)
    g.disc(9, 13.5, DOT)


def g062(g):  # letter R
    g056(g)
    g.line((8.5, 10), (14, 15), 2.2)


def g063(g):  # hollow arrow pointing to the upper left
    hollow_arrow(g, -45)


def g064(g):  # digit 2
    g.arc(9, 7, 5, 3, -40, 180)
    g.line((12.6, 10), (4, 14), 2.2)
    g.rect(4, 13, 14, 14)


def g065(g):  # hollow square whose sides run on past its corners (pinwheel)
    g.rect(5, 5, 15, 6)    # top side runs on to the right
    g.rect(11, 5, 12, 15)  # right side runs on downwards
    g.rect(2, 11, 12, 12)  # bottom side runs on to the left
    g.rect(5, 2, 6, 12)    # left side runs on upwards


def g066(g):  # long diagonal from upper right to lower left, branch to the lower right (mirrored lambda)
    g.line((14, 3), (4, 15), 2.0)
    g.line((9, 9), (14, 15), 2.0)


def g067(g):  # two stacked filled triangles pointing up (fir tree)
    g.polygon([(9, 2), (4, 9.5), (14, 9.5)])
    g.polygon([(9, 6), (2.5, 15), (15.5, 15)])


def g068(g):  # two small filled diamonds side by side
    for cx in (5.0, 13.0):
        g.paint(lambda x, y, cx=cx: abs(x - cx) + abs(y - 9) <= 3.6)


def g069(g):  # hollow square threaded on a diagonal from upper left to lower right
    g.frame(5, 5, 12, 12)
    g.line((2, 2), (16, 16), 1.8)


def g070(g):  # upright rectangle outline with its lower part filled
    g.frame(5, 3, 12, 14)
    g.rect(5, 9, 12, 14)


def g071(g):  # two parallel strokes that spread into two diverging legs
    g.rect(6, 3, 7, 8)
    g.rect(10, 3, 11, 8)
    g.line((6.9, 8.5), (3.5, 15), 2.0)
    g.line((11.1, 8.5), (14.5, 15), 2.0)


def g072(g):  # digit 8
    g.ellipse_ring(9, 5.7, 3.7, 3.1, 1.9)
    g.ellipse_ring(9, 11.9, 4.3, 3.6, 1.9)


def g073(g):  # filled disc on a stem (pin)
    g.disc(9, 7, 4.5)
    g.rect(8, 10, 9, 15)


def g074(g):  # four corner brackets around a central filled square
    for cx, cy, sx, sy in ((3, 3, 1, 1), (14, 3, -1, 1), (3, 14, 1, -1), (14, 14, -1, -1)):
        g.rect(min(cx, cx + 3 * sx), min(cy, cy + sy), max(cx, cx + 3 * sx), max(cy, cy + sy))
        g.rect(min(cx, cx + sx), min(cy, cy + 3 * sy), max(cx, cx + sx), max(cy, cy + 3 * sy))
    g.rect(7, 7, 10, 10)


def g075(g):  # filled drop
    g.disc(9, 11, 4.6)
    g.polygon([(9, 2), (13.4, 10), (4.6, 10)])


def g076(g):  # hollow square with the triangle above its falling diagonal filled
    g.frame(3, 3, 14, 14)
    g.polygon([(3, 3), (15, 3), (15, 15)])


def g077(g):  # radical sign
    g.line((3, 10), (6.5, 14.5), 2.0)
    g.line((6.5, 14.5), (11.5, 3.5), 2.0)
    g.rect(11, 3, 15, 4)


def g078(g):  # arch with three legs, the middle one longer (downward trident)
    g.rect(4, 3, 13, 4)
    g.rect(3, 4, 4, 10)
    g.rect(13, 4, 14, 10)
    g.rect(8, 3, 9, 14)


def g079(g):  # step: stem with an arm to the right at the top and a foot to the left at the bottom
    g.rect(8, 3, 9, 14)
    g.rect(8, 3, 14, 4)
    g.rect(3, 13, 9, 14)


def g080(g):  # crossed seven
    g.rect(3, 3, 14, 4)
    g.line((14, 4), (7, 15), 2.2)
    g.rect(6, 8, 13, 9)


def g081(g):  # letter C
    g.arc(9, 9, 6, 4, 45, 315)


def g082(g):  # capital sigma
    g.rect(3, 3, 14, 4)
    g.rect(3, 13, 14, 14)
    g.line((4.5, 4.5), (9, 9), 2.2)
    g.line((9, 9), (4.5, 13.5), 2.2)


def g083(g):  # capital omega
    g.arc(9, 8, 6, 4, -60, 240)
    g.rect(3, 13, 6, 14)
    g.rect(11, 13, 14, 14)
    g.rect(5, 11, 6, 14)
    g.rect(11, 11, 12, 14)


def g084(g):  # letter W
    g.path([(2.5, 3), (5.5, 15), (9, 6), (12.5, 15), (15.5, 3)], 1.8)


def g085(g):  # inverted V with a vertical centre stem
    g.line((3.5, 15), (9, 3.5), 2.0)
    g.line((14.5, 15), (9, 3.5), 2.0)
    g.rect(8, 3, 9, 14)


def g086(g):  # hourglass between two bars
    g.rect(3, 2, 14, 3)
    g.rect(3, 14, 14, 15)
    g.polygon([(4, 5), (14, 5), (9, 9)])
    g.polygon([(4, 13), (14, 13), (9, 9)])


def g087(g):  # filled half-disc facing left
    g.paint(lambda x, y: x <= 12 and (x - 12) ** 2 + (y - 9) ** 2 <= 6.5 ** 2)


def g088(g):  # letter M
    g.rect(3, 3, 4, 14)
    g.rect(13, 3, 14, 14)
    g.line((4, 3.5), (9, 10), 2.0)
    g.line((14, 3.5), (9, 10), 2.0)


def g089(g):  # script small l
    g.curve(script_l, 0.0, 1.0, 1.6, 96)


def script_l(t):
    # A loop: up and to the right, round the top, down the back, and a curl out at the foot.
    pts = [(4.5, 11.5), (8.5, 8), (11, 5.2), (12, 3.6), (11.4, 2.4), (10, 2.3), (8.6, 3.6),
           (7.6, 6.5), (7.1, 10), (7.1, 13), (8, 14.9), (10, 15.4), (12.5, 14)]
    pos = t * (len(pts) - 1)
    i = min(int(pos), len(pts) - 2)
    f = pos - i
    (ax, ay), (bx, by) = pts[i], pts[i + 1]
    return ax + (bx - ax) * f, ay + (by - ay) * f


def g090(g):  # vertical stem with three bars: top, doubled middle, bottom
    g.rect(8, 2, 9, 15)
    g.rect(4, 2, 13, 3)
    g.rect(4, 6, 13, 7)
    g.rect(4, 10, 13, 11)
    g.rect(4, 14, 13, 15)


def g091(g):  # filled arrow pointing up
    arrow_down(g)
    flip_y(g)


def g092(g):  # rounded box with a central stroke, on a stem
    g.outline([(4, 2.5), (14, 2.5), (15.5, 4), (15.5, 10), (14, 11.5), (4, 11.5), (2.5, 10),
               (2.5, 4)], 1.5)
    g.rect(6, 6, 11, 7)
    g.rect(8, 11, 9, 15)


def g093(g):  # square in four quarters, upper-left and lower-right quarters filled
    g.frame(3, 3, 14, 14)
    g.rect(3, 3, 8, 8)
    g.rect(9, 9, 14, 14)


def g094(g):  # filled diamond
    g.paint(lambda x, y: abs(x - 9) + abs(y - 9) <= 6.8)


def g095(g):  # digit 4 with an open top
    g.rect(3, 3, 4, 8)
    g.rect(4, 8, 13, 9)
    g.rect(13, 3, 14, 14)


def g096(g):  # left curly brace
    g.rect(10, 2, 12, 3)   # upper hook
    g.rect(8, 3, 9, 7)
    g.rect(6, 8, 7, 9)     # the point
    g.rect(8, 10, 9, 14)
    g.rect(10, 14, 12, 15)  # lower hook
    g.rect(8, 3, 8, 3, False)  # round the hooks' outer corners
    g.rect(8, 14, 8, 14, False)


def g097(g):  # Cyrillic hard sign
    g.rect(2, 6, 6, 7)
    g.rect(5, 6, 6, 14)
    g.rect(5, 9, 12, 10)   # the bowl, its right-hand corners cut round
    g.rect(5, 13, 12, 14)
    g.rect(13, 10, 14, 13)


def g098(g):  # two overlapping hollow squares, upper right and lower left
    g.frame(7, 3, 15, 11)
    g.frame(2, 6, 10, 14)


def g099(g):  # ring with a filled swirl (yin-yang)
    g.ring(9, 9, 7.0, 5.6)
    r = 5.8

    def yin(x, y):
        d = (x - 9) ** 2 + (y - 9) ** 2
        if d > r * r:
            return False
        upper = (x - 9) ** 2 + (y - (9 - r / 2)) ** 2 <= (r / 2) ** 2
        lower = (x - 9) ** 2 + (y - (9 + r / 2)) ** 2 <= (r / 2) ** 2
        return upper or (x >= 9 and not lower)
    g.paint(yin)


def g100(g):  # dollar sign
    g.arc(9, 6.3, 3.9, 2.1, 20, 270)
    g.arc(9, 11.7, 3.9, 2.1, -160, 90)
    g.rect(8, 1, 9, 16)


def g101(g):  # letter G
    g.arc(9, 9, 6, 4, 40, 360)
    g.rect(9, 9, 14, 10)


def g102(g):  # key lying horizontally, ring at the left
    g.ring(5.5, 9, 3.5, 1.6)
    g.rect(9, 8, 15, 9)
    g.rect(11, 10, 12, 12)
    g.rect(14, 10, 15, 12)


def g103(g):  # pilcrow
    g.paint(lambda x, y: x <= 8 and (x - 8) ** 2 + (y - 6) ** 2 <= 3.5 ** 2)
    g.rect(8, 2, 13, 3)
    g.rect(8, 2, 9, 15)
    g.rect(11, 2, 12, 15)


def g104(g):  # cube outline
    front = [(2.5, 6.5), (11.5, 6.5), (11.5, 15.5), (2.5, 15.5)]
    back = [(6.5, 2.5), (15.5, 2.5), (15.5, 11.5), (6.5, 11.5)]
    g.path(front + front[:1], 1.2)
    g.path(back + back[:1], 1.2)
    for p, q in zip(front, back):
        g.line(p, q, 1.2)


def g105(g):  # lightning bolt outline
    g.outline([(10.5, 1.5), (3.5, 10), (8.5, 10), (6.5, 16.5), (14.5, 7.5), (9.5, 7.5),
               (12.5, 1.5)], 1.3)


def g106(g):  # filled triangle pointing down above a bar
    g.polygon([(3, 3), (15, 3), (9, 11)])
    g.rect(3, 13, 14, 14)


def g107(g):  # radiation trefoil in a ring
    g.ring(9, 9, 7.4, 6.2)
    for a in (90, 210, 330):
        g.arc(9, 9, 5.0, 2.1, a - 30, a + 30)
    g.disc(9, 9, 1.2)


def g108(g):  # hollow arrow pointing up
    hollow_arrow(g, 0)


def g109(g):  # smiling face outline
    g.ring(9, 9, 7.3, 5.9)
    g.rect(6, 6, 7, 7)
    g.rect(11, 6, 12, 7)
    g.arc(9, 9, 4.2, 2.8, 200, 340)


def g110(g):  # small Λ and V side by side (zigzag)
    g.path([(2, 13.5), (5.5, 4.5), (9, 13.5)], 1.7)
    g.path([(9, 4.5), (12.5, 13.5), (16, 4.5)], 1.7)


def g111(g):  # square pulse: an inverted U with feet turned outwards
    g.rect(2, 13, 5, 14)
    g.rect(5, 4, 6, 14)
    g.rect(5, 4, 12, 5)
    g.rect(11, 4, 12, 14)
    g.rect(11, 13, 15, 14)


def g112(g):  # two rings joined by a diagonal bar, upper left to lower right
    g.ring(5.5, 5.5, 3.2, 1.3)
    g.ring(12.5, 12.5, 3.2, 1.3)
    g.line((7.5, 7.5), (10.5, 10.5), 2.0)


def g113(g):  # ring with four short spokes (crosshair)
    g.ring(9, 9, 5, 3.2)
    g.rect(8, 1, 9, 6)
    g.rect(8, 12, 9, 16)
    g.rect(1, 8, 6, 9)
    g.rect(12, 8, 16, 9)


def g114(g):  # cut gem outline
    g.outline([(5.5, 3.5), (12.5, 3.5), (15.5, 7.5), (9, 15.5), (2.5, 7.5)], 1.5)
    g.rect(3, 7, 14, 7)
    g.line((7, 7.5), (9, 14), 1.2)
    g.line((11, 7.5), (9, 14), 1.2)


def g115(g):  # mushroom outline
    cap = [(9 + 7 * math.cos(math.radians(a)), 9.5 - 7 * math.sin(math.radians(a)))
           for a in range(0, 181, 10)]
    g.path(cap + [cap[0]], 1.6)
    g.path([(6.5, 9.5), (6.5, 15), (11.5, 15), (11.5, 9.5)], 1.6)


def g116(g):  # paper windmill: four curved sails round a pin, their tips on the diagonals
    # Drawn as broad sails rather than bent arms: four hooked arms turning about a centre read
    # as a swastika, which must never print on anyone's pattern.
    #
    # The upper-left sail runs straight from the centre out to its tip and comes back along a
    # curve (a parabola pulled towards the top right) that bulges over the top. The other three
    # sails are the same one turned by quarter turns; turning the tested point by swapping its
    # offsets, rather than turning the outline with sines and cosines, keeps the four copies
    # pixel for pixel alike.
    centre, tip, pull = (9.0, 9.0), (3.0, 3.0), (13.0, -1.0)

    def on_curve(t):
        return tuple((1 - t) ** 2 * a + 2 * (1 - t) * t * b + t * t * c
                     for a, b, c in zip(tip, pull, centre))
    sail = [centre, tip] + [on_curve(i / 32) for i in range(1, 32)]

    def inside(x, y):
        dx, dy = x - 9, y - 9
        for _ in range(4):
            if point_in_polygon(9 + dx, 9 + dy, sail):
                return True
            dx, dy = -dy, dx
        return False
    g.paint(inside)
    g.disc(9, 9, 1.3, False)  # the pin: a white 2 x 2 hole


def g117(g):  # three small rings in a triangle
    for cx, cy in ((9, 5), (5, 12.5), (13, 12.5)):
        g.ring(cx, cy, 2.9, 1.2)


def g118(g):  # diagonal cross with a dot at its lower right
    g.line((3, 3), (11.5, 11.5), 1.8)
    g.line((11.5, 3), (3, 11.5), 1.8)
    g.disc(14, 14, DOT)


def g119(g):  # dot above an inverted V (figure)
    g.disc(9, 4.5, 2.2)
    g.line((3.5, 15), (9, 8.5), 2.0)
    g.line((14.5, 15), (9, 8.5), 2.0)


GLYPHS = [globals()["g%03d" % i] for i in range(GLYPH_COUNT)]

# The character each glyph stands for in the symbol font, in sheet order: a character that looks
# like the glyph where Unicode has one, so that text copied out of a chart still reads sensibly;
# otherwise PRIVATE, which gives glyph i the private-use character U+E000 + i. Only the Basic
# Multilingual Plane is used (one UTF-16 unit a symbol), and no character whose default
# presentation is a colour emoji.
PRIVATE = None
CODE_POINTS = [
    0x25CF, 0x002B, 0x00D7, 0x25CB, 0x003D,  # 0-4: ● + × ○ =
    0x2059, 0x0054, 0x22F1, 0x25A1, 0x0059,  # 5-9: ⁙ T ⋱ □ Y
    0x2299, 0x29C4, 0x2212, 0x2237, 0x004C,  # 10-14: ⊙ ⧄ − ∷ L
    0x2293, 0x007C, 0x259E, 0x2016, 0x25E2,  # 15-19: ⊓ | ▞ ‖ ◢
    0x22A5, 0x2B07, 0x0023, 0x25D3, 0x25B2,  # 20-24: ⊥ ⬇ # ◓ ▲
    0x002F, 0x005A, 0x22D9, 0x2B05, 0x2661,  # 25-29: / Z ⋙ ⬅ ♡
    0x2234, 0x004E, 0x27A1, 0x0049, 0x27D3,  # 30-34: ∴ N ➡ I ⟓
    0x0053, 0x2BCB, 0x223F, 0x2606, 0x0046,  # 35-39: S ⯋ ∿ ☆ F
    0x25B3, 0x0048, PRIVATE, 0x25AA, 0x0031,  # 40-44: △ H (private) ▪ 1
    0x29B8, 0x0055, 0x25F1, 0x2727, 0x2733,  # 45-49: ⦸ U ◱ ✧ ✳
    0x0025, 0x0041, 0x2198, 0x004B, 0x2248,  # 50-54: % A ↘ K ≈
    0x0033, 0x0050, 0x0428, 0x003F, 0x22C8,  # 55-59: 3 P Ш ? ⋈
    0x0056, 0x00F7, 0x0052, 0x2B01, 0x0032,  # 60-64: V ÷ R ⬁ 2
    0x2317, 0x22CC, PRIVATE, PRIVATE, 0x29C5,  # 65-69: ⌗ ⋌ (private) (private) ⧅
    0x2B13, PRIVATE, 0x0038, 0x2AEF, 0x25A3,  # 70-74: ⬓ (private) 8 ⫯ ▣
    PRIVATE, 0x2B14, 0x221A, 0x22D4, PRIVATE,  # 75-79: (private) ⬔ √ ⋔ (private)
    0x0037, 0x0043, 0x03A3, 0x03A9, 0x0057,  # 80-84: 7 C Σ Ω W
    0x2A5A, 0x29D7, 0x25D6, 0x004D, 0x2113,  # 85-89: ⩚ ⧗ ◖ M ℓ
    PRIVATE, 0x2B06, PRIVATE, 0x259A, 0x25C6,  # 90-94: (private) ⬆ (private) ▚ ◆
    0x0034, 0x007B, 0x042A, 0x29C9, 0x262F,  # 95-99: 4 { Ъ ⧉ ☯
    0x0024, 0x0047, 0x27DC, 0x00B6, PRIVATE,  # 100-104: $ G ⟜ ¶ (private)
    0x2607, 0x25BC, 0x2622, 0x21E7, 0x263A,  # 105-109: ☇ ▼ ☢ ⇧ ☺
    PRIVATE, 0x238D, 0x29DF, 0x2316, PRIVATE,  # 110-114: (private) ⎍ ⧟ ⌖ (private)
    PRIVATE, PRIVATE, PRIVATE, PRIVATE, 0x2A51,  # 115-119: (private) x4 ⩑
]


def code_points():
    cps = [0xE000 + i if cp is PRIVATE else cp for i, cp in enumerate(CODE_POINTS)]
    if len(cps) != GLYPH_COUNT or len(set(cps)) != GLYPH_COUNT:
        sys.exit("the symbol font needs %d distinct characters" % GLYPH_COUNT)
    if any(cp <= 0x20 or cp > 0xFFFF for cp in cps):
        sys.exit("symbol characters must be printable and in the Basic Multilingual Plane")
    return cps


def draw_glyph(i, scale=1):
    """Glyph i moved to the middle of its cell. The move is worked out on the sheet's own
    pixels, so a finer drawing of the glyph lands exactly where the sheet has it."""
    g = Glyph()
    GLYPHS[i](g)
    dx, dy = g.centring_shift()
    if scale != 1:
        g = Glyph(scale)
        GLYPHS[i](g)
    g.shift(dx, dy)
    return g


def draw_sheet():
    glyphs = []
    for i in range(GLYPH_COUNT):
        g = draw_glyph(i)
        x0, y0, x1, y1 = g.bbox()
        if x0 < 1 or y0 < 1 or x1 > 16 or y1 > 16:
            sys.exit("glyph %d leaves pixels 1..16 of its cell" % i)
        glyphs.append(g)
    seen = {}
    for i, g in enumerate(glyphs):
        key = tuple(map(tuple, g.px))
        if key in seen:
            sys.exit("glyphs %d and %d are identical" % (seen[key], i))
        seen[key] = i
    width, height = CELL * COLUMNS, CELL * ROWS
    sheet = [[False] * width for _ in range(height)]
    for i, g in enumerate(glyphs):
        ox, oy = CELL * (i % COLUMNS), CELL * (i // COLUMNS)
        for y in range(CELL):
            for x in range(CELL):
                sheet[oy + y][ox + x] = g.px[y][x]
    return sheet


def draw_stitch():
    """One slanted stitch from the bottom-left to the top-right corner, outlined in silver."""
    silver = set()

    def line(x0, y0, x1, y1):  # Bresenham, both ends included
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x1 > x0 else -1), (1 if y1 > y0 else -1)
        err = dx + dy
        while True:
            silver.add((x0, y0))
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    # The outline: the upper long edge, the cut end along the top and right borders, the lower
    # long edge, and the cut end along the bottom and left borders.
    line(0, 14, 13, 0)
    line(13, 0, 17, 0)
    line(17, 0, 17, 9)
    line(17, 9, 9, 17)
    line(9, 17, 0, 17)
    line(0, 17, 0, 14)
    # Two strands inside, parallel to the lower edge.
    line(1, 17, 17, 1)
    line(5, 17, 17, 5)
    return [[SILVER if (x, y) in silver else 255 for x in range(CELL)] for y in range(CELL)]


def write_pbm(path, rows):
    with open(path, "w", newline="\n") as f:
        f.write("P1\n# Pelvano symbol sheet: 10 x 12 glyphs of 18 x 18, 1 = black.\n")
        f.write("# Generated by resources/tools/draw_glyphs.py; edit that, not this.\n")
        f.write("%d %d\n" % (len(rows[0]), len(rows)))
        for y, row in enumerate(rows):
            if y % CELL == 0 and y > 0:
                f.write("\n")  # a blank line between rows of glyphs
            cells = [" ".join("1" if row[x] else "0" for x in range(c, c + CELL))
                     for c in range(0, len(row), CELL)]
            f.write("  ".join(cells) + "\n")


def write_ppm(path, rows):
    with open(path, "w", newline="\n") as f:
        f.write("P3\n# Pelvano stitch tile: white and silver only.\n")
        f.write("# Generated by resources/tools/draw_glyphs.py; edit that, not this.\n")
        f.write("%d %d\n255\n" % (len(rows[0]), len(rows)))
        for row in rows:
            f.write("  ".join("%3d %3d %3d" % (v, v, v) for v in row) + "\n")


def write_preview(path, sheet, stitch, scale=4):
    """Enlarged sheet with grey cell borders, and the tile below it, as a PNG for review."""
    width = CELL * COLUMNS * scale + COLUMNS + 1
    sheet_h = CELL * ROWS * scale + ROWS + 1
    height = sheet_h + CELL * scale * 2 + 8
    img = [[(255, 255, 255)] * width for _ in range(height)]
    for y in range(sheet_h):
        for x in range(width):
            if x % (CELL * scale + 1) == 0 or y % (CELL * scale + 1) == 0:
                img[y][x] = (160, 160, 160)
                continue
            cx, cy = x // (CELL * scale + 1), y // (CELL * scale + 1)
            px = cx * CELL + (x % (CELL * scale + 1) - 1) // scale
            py = cy * CELL + (y % (CELL * scale + 1) - 1) // scale
            img[y][x] = (0, 0, 0) if sheet[py][px] else (255, 255, 255)
    for y in range(CELL * 2 * scale):
        for x in range(CELL * 2 * scale):
            v = stitch[y // (2 * scale)][x // (2 * scale)]
            img[sheet_h + 4 + y][4 + x] = (v, v, v)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in img)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


# The symbol font ----------------------------------------------------------------------------------
#
# One em is one cell: at a pixel size of 18 a glyph covers nearly the pixels it has on the sheet.
# Each sheet pixel is 64 font units, so the sheet's pixel grid falls on whole units, and on whole
# pixels at that size. The em runs from 4 pixels below the baseline to 14 above it, which puts the
# middle of a glyph a little above the baseline, near where text fonts put + and =; ascent plus
# descent is the em, so a line of symbols is one cell high.

FONT_FAMILY = "Pelvano Symbols"
FONT_VERSION = "1.000"
FONT_SCALE = 16  # sub-pixels per pixel (each way) of the bitmaps the outlines are traced from
UNIT = 64        # font units per sheet pixel
UNITS_PER_EM = CELL * UNIT
DESCENT = 4 * UNIT
ASCENT = UNITS_PER_EM - DESCENT
# A fixed date (2025-01-01) in the head table, so that an unchanged glyph gives the same file.
FONT_DATE = 3818534400  # seconds since 1904-01-01


def trace(g):
    """Outlines of a fine glyph bitmap as SVG path data, with the affine transform from its
    coordinates to font units. potrace turns the bitmap's edges into straight lines and curves:
    the staircase of a slanted stroke becomes a straight edge and that of a disc a circle."""
    n = g.size
    rows = []
    for row in g.px:
        bits = bytearray((n + 7) // 8)
        for x, black in enumerate(row):
            if black:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(bits))
    pbm = b"P4\n%d %d\n" % (n, n) + b"".join(rows)
    try:
        svg = subprocess.run(["potrace", "--backend", "svg", "--output", "-", "-"], input=pbm,
                             capture_output=True, check=True).stdout.decode()
    except FileNotFoundError:
        sys.exit("potrace is needed to trace the symbol font (Debian package potrace)")
    # potrace writes the paths in tenths of a bitmap pixel, y up from the bottom, and flips them
    # into SVG's y-down coordinates with translate(tx, ty) scale(sx, sy).
    m = re.search(r'transform="translate\(([-\d.]+),([-\d.]+)\) scale\(([-\d.]+),([-\d.]+)\)"',
                  svg)
    if not m:
        sys.exit("potrace wrote SVG of an unexpected form")
    tx, ty, sx, sy = (float(v) for v in m.groups())
    unit = UNIT / g.scale  # font units per bitmap pixel
    # font x = unit * (tx + sx * px), font y = ASCENT - unit * (ty + sy * py)
    transform = (unit * sx, 0, 0, -unit * sy, unit * tx, ASCENT - unit * ty)
    return re.findall(r'<path d="([^"]*)"', svg), transform


def glyph_outline(paths, transform):
    from fontTools.pens.cu2quPen import Cu2QuPen
    from fontTools.pens.transformPen import TransformPen
    from fontTools.pens.ttGlyphPen import TTGlyphPen
    from fontTools.svgLib.path import parse_path
    pen = TTGlyphPen(None)
    # potrace runs outer edges anticlockwise; TrueType wants them clockwise. Quadratic curves
    # stay within a sixty-fourth of a pixel of potrace's cubic ones.
    quadratic = Cu2QuPen(pen, max_err=1.0, reverse_direction=True)
    for d in paths:
        parse_path(d, TransformPen(quadratic, transform))
    return pen.glyph()


def box_outline(x0, y0, x1, y1, w):
    """A hollow rectangle, clockwise outside and anticlockwise inside, for .notdef."""
    from fontTools.pens.ttGlyphPen import TTGlyphPen
    pen = TTGlyphPen(None)
    for pts in ([(x0, y0), (x0, y1), (x1, y1), (x1, y0)],
                [(x0 + w, y0 + w), (x1 - w, y0 + w), (x1 - w, y1 - w), (x0 + w, y1 - w)]):
        pen.moveTo(pts[0])
        for p in pts[1:]:
            pen.lineTo(p)
        pen.closePath()
    return pen.glyph()


def build_font(path):
    try:
        from fontTools.fontBuilder import FontBuilder
        from fontTools.pens.ttGlyphPen import TTGlyphPen
    except ImportError:
        sys.exit("fontTools is needed to build the symbol font (Debian package python3-fonttools)")
    cps = code_points()
    names = ["uni%04X" % cp for cp in cps]
    glyphs = {".notdef": box_outline(3 * UNIT, ASCENT - 15 * UNIT, 15 * UNIT, ASCENT - 3 * UNIT,
                                     UNIT),
              "space": TTGlyphPen(None).glyph()}
    for i, name in enumerate(names):
        glyphs[name] = glyph_outline(*trace(draw_glyph(i, FONT_SCALE)))

    fb = FontBuilder(UNITS_PER_EM, isTTF=True)
    fb.updateHead(created=FONT_DATE, modified=FONT_DATE, fontRevision=float(FONT_VERSION))
    fb.setupGlyphOrder([".notdef", "space"] + names)
    fb.setupCharacterMap({0x20: "space", **dict(zip(cps, names))})
    fb.setupGlyf(glyphs)
    glyf = fb.font["glyf"]
    fb.setupHorizontalMetrics({name: (UNITS_PER_EM, getattr(glyf[name], "xMin", 0))
                               for name in glyphs})
    fb.setupHorizontalHeader(ascent=ASCENT, descent=-DESCENT, lineGap=0)
    fb.setupNameTable({
        "familyName": FONT_FAMILY,
        "styleName": "Regular",
        "uniqueFontIdentifier": "%s Regular %s" % (FONT_FAMILY, FONT_VERSION),
        "fullName": FONT_FAMILY + " Regular",
        "psName": FONT_FAMILY.replace(" ", "") + "-Regular",
        "version": "Version " + FONT_VERSION,
        "description": "The symbols of Pelvano's cross-stitch charts, one a thread.",
    })
    # fsType 0: installable, so PDF writers may embed it. fsSelection: regular, and use the
    # typo metrics, which here equal the win and hhea ones.
    fb.setupOS2(version=4, usWeightClass=400, fsType=0, fsSelection=0x40 | 0x80,
                achVendID="PLVN", sTypoAscender=ASCENT, sTypoDescender=-DESCENT,
                sTypoLineGap=0, usWinAscent=ASCENT, usWinDescent=DESCENT,
                sxHeight=0, sCapHeight=0, ulCodePageRange1=1, ulCodePageRange2=0)
    fb.setupPost(isFixedPitch=1, underlinePosition=-2 * UNIT, underlineThickness=UNIT)
    fb.save(path)


def write_code_points(path):
    """The font's characters for C++, so the table is kept only here."""
    cps = code_points()
    with open(path, "w", newline="\n") as f:
        f.write("// Characters of the built-in symbol font, in sheet order: glyph i is drawn by\n")
        f.write("// character kSymbolCodePoints[i].\n")
        f.write("// Generated by resources/tools/draw_glyphs.py; edit that, not this.\n")
        f.write("#pragma once\n\n#include <array>\n\nnamespace pelvano {\n\n")
        f.write("inline constexpr std::array<char32_t, %d> kSymbolCodePoints{\n" % GLYPH_COUNT)
        for i, cp in enumerate(cps):
            shown = "private use" if 0xE000 <= cp <= 0xF8FF else chr(cp)
            f.write("    0x%04X, // %d %s\n" % (cp, i, shown))
        f.write("};\n\n} // namespace pelvano\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", help="also write an enlarged PNG of both images")
    args = parser.parse_args()
    here = os.path.dirname(os.path.abspath(__file__))
    resources = os.path.dirname(here)
    sheet = draw_sheet()
    stitch = draw_stitch()
    write_pbm(os.path.join(resources, "symbols.pbm"), sheet)
    write_ppm(os.path.join(resources, "stitch.ppm"), stitch)
    build_font(os.path.join(resources, "symbols.ttf"))
    write_code_points(os.path.join(os.path.dirname(resources), "render", "symbol_code_points.h"))
    if args.preview:
        write_preview(args.preview, sheet, stitch)


if __name__ == "__main__":
    main()
