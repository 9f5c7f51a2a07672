#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the editor's toolbar strip and mouse cursors and writes them as PNG files.

Only the Python standard library is used. Run it from anywhere:
    scripts/make-pictures.py
and commit the pictures it writes under src/resources/pictures/.

toolbar.png  250 x 24, ten 25 x 24 button pictures, magenta (255, 0, 255) is transparent
recent.png   25 x 24, the picture of the recent figures button, magenta is transparent
cursor-cube.png, cursor-nocell.png, cursor-copy.png, cursor-arrow.png
             32 x 32 black and white cursors with a transparent background
toolbar@2x.png, cursor-*@2x.png
             the same drawings at twice the resolution (500 x 48, 64 x 64), for
             screens with two device pixels per logical pixel
"""

import math
import os
import struct
import zlib

MAGENTA = (255, 0, 255, 255)
CLEAR = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
GREY = (128, 128, 128, 255)
LIGHT = (192, 192, 192, 255)
DARK = (64, 64, 64, 255)
YELLOW = (255, 216, 64, 255)
OCHRE = (176, 136, 24, 255)
NAVY = (0, 0, 128, 255)
BLUE = (0, 64, 200, 255)
RED = (255, 0, 0, 255)
GREEN = (0, 238, 0, 255)
CUBEBLUE = (0, 0, 255, 255)
PENCIL = (240, 160, 32, 255)


class Canvas:
    """A picture drawn in logical pixels at a device scale (1, or 2 for dense screens).

    Every primitive takes logical coordinates; at scale 2 the shapes are drawn again
    at twice the resolution (edges step by one device pixel), not blown up.
    """

    def __init__(self, width, height, fill, scale=1):
        self.width = width
        self.height = height
        self.scale = scale
        self.pixels = [[fill] * (width * scale) for _ in range(height * scale)]

    def device(self, v):
        """The device coordinate of a logical pixel's centre (as a pixel index)."""
        return v * self.scale + (self.scale - 1) / 2

    def put(self, x, y, colour):
        """Sets one device pixel."""
        if 0 <= x < self.width * self.scale and 0 <= y < self.height * self.scale:
            self.pixels[y][x] = colour

    def set(self, x, y, colour):
        """Sets one logical pixel (a scale x scale block)."""
        s = self.scale
        for dy in range(s):
            for dx in range(s):
                self.put(x * s + dx, y * s + dy, colour)

    def rect(self, x0, y0, x1, y1, colour):
        """Fills the rectangle with corners (x0, y0) and (x1, y1), both included."""
        s = self.scale
        for y in range(y0 * s, (y1 + 1) * s):
            for x in range(x0 * s, (x1 + 1) * s):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour):
        self.line(x0, y0, x1, y0, colour)
        self.line(x1, y0, x1, y1, colour)
        self.line(x1, y1, x0, y1, colour)
        self.line(x0, y1, x0, y0, colour)

    def line(self, x0, y0, x1, y1, colour):
        """Bresenham line, both end points included, one logical pixel thick: at scale 2
        a 2 x 2 pen walks the line in device pixels."""
        s = self.scale
        x0, y0, x1, y1 = x0 * s, y0 * s, x1 * s, y1 * s
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            for py in range(s):
                for px in range(s):
                    self.put(x0 + px, y0 + py, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def hairline(self, x0, y, x1, colour):
        """A horizontal line one device pixel thick through the middle of the logical
        rows y - 1 and y (at scale 1 simply row y)."""
        row = y * self.scale - self.scale // 2
        for x in range(x0 * self.scale, (x1 + 1) * self.scale):
            self.put(x, row, colour)

    def polyline(self, points, colour):
        for a, b in zip(points, points[1:]):
            self.line(a[0], a[1], b[0], b[1], colour)

    def polygon(self, points, fill, outline=None):
        """Fills the polygon (pixel centres inside, even-odd rule) and draws its outline."""
        device = [(self.device(x), self.device(y)) for x, y in points]
        n = len(device)
        ys = [p[1] for p in device]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            cy = y + 0.5
            xs = []
            for i in range(n):
                (xa, ya), (xb, yb) = device[i], device[(i + 1) % n]
                if (ya <= cy < yb) or (yb <= cy < ya):
                    xs.append(xa + (cy - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for a, b in zip(xs[0::2], xs[1::2]):
                for x in range(int(a + 0.5), int(b + 0.5)):
                    self.put(x, y, fill)
        if outline is not None:
            self.polyline(list(points) + [points[0]], outline)

    def disc(self, cx, cy, r, colour):
        s = self.scale
        dcx, dcy, dr = self.device(cx), self.device(cy), r * s
        for y in range(int(dcy - dr) - 1, int(dcy + dr) + 2):
            for x in range(int(dcx - dr) - 1, int(dcx + dr) + 2):
                if (x - dcx) ** 2 + (y - dcy) ** 2 <= dr * dr + dr:
                    self.put(x, y, colour)

    def ring(self, cx, cy, r, width, colour, keep=None):
        """A ring of the given width; keep(x, y) can leave out a part (for arcs)."""
        s = self.scale
        dcx, dcy, dr, dw = self.device(cx), self.device(cy), r * s, width * s
        for y in range(int(dcy - dr) - s, int(dcy + dr) + 2 * s):
            for x in range(int(dcx - dr) - s, int(dcx + dr) + 2 * s):
                d = ((x - dcx) ** 2 + (y - dcy) ** 2) ** 0.5
                if dr - dw < d <= dr + 0.5 and (keep is None or keep((x - dcx) / s, (y - dcy) / s)):
                    self.put(x, y, colour)

    def blit(self, other, dx, dy):
        s = self.scale
        for y in range(other.height * s):
            for x in range(other.width * s):
                self.put(x + dx * s, y + dy * s, other.pixels[y][x])


def write_png(path, canvas):
    raw = bytearray()
    for row in canvas.pixels:
        raw.append(0)
        for r, g, b, a in row:
            raw += bytes((r, g, b, a))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", len(canvas.pixels[0]), len(canvas.pixels), 8, 6, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + \
        chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


# ------------------------------------------------------------------ toolbar pictures

def arrow(c, x, y, scale=1):
    points = [(0, 0), (0, 15), (4, 11), (7, 17), (9, 16), (6, 10), (11, 10)]
    c.polygon([(x + px * scale, y + py * scale) for px, py in points], WHITE, BLACK)


def select_move(s=1):
    c = Canvas(25, 24, MAGENTA, s)
    arrow(c, 7, 3)
    return c


def new_page(s=1):
    c = Canvas(25, 24, MAGENTA, s)
    c.polygon([(6, 2), (15, 2), (19, 6), (19, 21), (6, 21)], WHITE, BLACK)
    c.polyline([(15, 2), (15, 6), (19, 6)], BLACK)
    return c


def open_folder(s=1):
    c = Canvas(25, 24, MAGENTA, s)
    c.polygon([(2, 6), (7, 6), (9, 8), (17, 8), (17, 19), (2, 19)], OCHRE, BLACK)
    c.polygon([(5, 11), (22, 11), (17, 19), (2, 19)], YELLOW, BLACK)
    # The arrow of opening above the folder.
    c.polyline([(13, 5), (16, 2), (20, 2), (22, 4), (22, 8)], BLACK)
    c.polyline([(20, 6), (22, 8), (24, 6)], BLACK)
    return c


def diskette(s=1):
    c = Canvas(25, 24, MAGENTA, s)
    c.polygon([(3, 2), (20, 2), (22, 4), (22, 21), (3, 21)], NAVY, BLACK)
    c.rect(7, 3, 18, 9, WHITE)      # label
    c.line(8, 5, 17, 5, GREY)
    c.line(8, 7, 17, 7, GREY)
    c.rect(8, 14, 17, 20, LIGHT)    # shutter
    c.rect(10, 15, 12, 19, NAVY)
    return c


def printer(s=1):
    c = Canvas(25, 24, MAGENTA, s)
    c.rect(7, 2, 17, 9, WHITE)      # paper going in
    c.frame(7, 2, 17, 9, BLACK)
    c.polygon([(2, 9), (22, 9), (22, 17), (2, 17)], LIGHT, BLACK)
    c.set(19, 11, GREEN)
    c.rect(6, 15, 18, 21, WHITE)    # printed sheet coming out
    c.frame(6, 15, 18, 21, BLACK)
    if s == 1:
        c.line(8, 18, 16, 18, GREY)
    else:
        # Room for two finer lines of print where the plain picture has one.
        for y in (17, 19):
            c.hairline(8, y, 16, GREY)
    return c


def options_window(s=1):
    c = Canvas(25, 24, MAGENTA, s)
    c.rect(1, 3, 18, 20, WHITE)
    c.rect(1, 3, 18, 6, BLUE)
    c.frame(1, 3, 18, 20, BLACK)
    c.line(3, 10, 12, 10, GREY)
    c.line(3, 13, 10, 13, GREY)
    # A pencil lying across the window's lower right corner.
    c.polygon([(22, 6), (24, 8), (13, 19), (11, 17)], PENCIL, BLACK)
    c.polygon([(11, 17), (13, 19), (9, 21)], WHITE, BLACK)
    c.set(9, 21, BLACK)
    return c


def turn_arrow(clockwise, s=1):
    c = Canvas(25, 24, MAGENTA, s)
    # An arc over the top of a circle with a head at its left end (anticlockwise) or
    # its right end (clockwise), pointing down.
    def keep(x, y):
        angle = math.degrees(math.atan2(-y, x))
        if clockwise:
            angle = 180 - angle if angle >= 0 else -180 - angle
        return -60 <= angle <= 175
    c.ring(12, 13, 8, 3, BLUE, keep=keep)
    if clockwise:
        c.polygon([(15, 12), (25, 12), (20, 18)], BLUE)
    else:
        c.polygon([(0, 12), (10, 12), (5, 18)], BLUE)
    return c


def question_mark(s=1):
    c = Canvas(25, 24, MAGENTA, s)
    c.ring(12, 8, 6, 3, NAVY, keep=lambda x, y: not (y > 0 and x < 1))
    c.rect(11, 13, 14, 16, NAVY)
    c.rect(11, 19, 14, 22, NAVY)
    return c


def small_cube(c, left, top):
    # An isometric cube 9 pixels wide: top, right and left faces.
    c.polygon([(left, top + 2), (left + 4, top), (left + 8, top + 2), (left + 4, top + 4)], RED)
    c.polygon([(left + 4, top + 4), (left + 8, top + 2), (left + 8, top + 7), (left + 4, top + 9)], GREEN)
    c.polygon([(left, top + 2), (left + 4, top + 4), (left + 4, top + 9), (left, top + 7)], CUBEBLUE)


def cube_group(s=1):
    c = Canvas(25, 24, MAGENTA, s)
    small_cube(c, 8, 3)
    small_cube(c, 3, 11)
    small_cube(c, 13, 11)
    return c


def recent_pages(s=1):
    # Two figure pages, one behind the other, the front one with a small cube on it:
    # the figures worked on last.
    c = Canvas(25, 24, MAGENTA, s)
    c.polygon([(9, 1), (18, 1), (22, 5), (22, 16), (9, 16)], LIGHT, BLACK)
    c.polygon([(3, 6), (12, 6), (16, 10), (16, 22), (3, 22)], WHITE, BLACK)
    c.polyline([(12, 6), (12, 10), (16, 10)], BLACK)
    small_cube(c, 5, 11)
    return c


# ------------------------------------------------------------------ cursors

def cursor_cube(s=1):
    c = Canvas(32, 32, CLEAR, s)
    hexagon = [(10, 1), (18, 5), (18, 14), (10, 19), (2, 14), (2, 5), (10, 1)]
    # A white halo keeps the outline visible on dark workspaces.
    for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1)):
        c.polyline([(x + dx, y + dy) for x, y in hexagon], WHITE)
        c.polyline([(2 + dx, 5 + dy), (10 + dx, 10 + dy), (18 + dx, 5 + dy)], WHITE)
        c.line(10 + dx, 10 + dy, 10 + dx, 19 + dy, WHITE)
    c.polyline(hexagon, BLACK)
    c.polyline([(2, 5), (10, 10), (18, 5)], BLACK)
    c.line(10, 10, 10, 19, BLACK)
    return c


def cursor_no_cell(s=1):
    c = Canvas(32, 32, CLEAR, s)
    c.ring(10, 9, 9, 4, WHITE)
    c.ring(10, 9, 8, 2, BLACK)
    for w in (-1, 0, 1):
        c.line(10 - 6 + w, 9 - 6, 10 + 6 + w, 9 + 6, BLACK)
    return c


def cursor_arrow(cross, s=1):
    c = Canvas(32, 32, CLEAR, s)
    arrow(c, 0, 0)
    if cross:
        c.rect(13, 15, 21, 23, WHITE)
        c.frame(13, 15, 21, 23, BLACK)
        c.line(15, 19, 19, 19, BLACK)
        c.line(17, 17, 17, 21, BLACK)
    return c


def pictures(s):
    """The toolbar strip and the four cursors at device scale s, with their file names."""
    suffix = "" if s == 1 else "@%dx" % s
    strip = Canvas(250, 24, MAGENTA, s)
    buttons = [select_move(s), new_page(s), open_folder(s), diskette(s), printer(s),
               options_window(s), turn_arrow(False, s), turn_arrow(True, s), question_mark(s), cube_group(s)]
    for i, picture in enumerate(buttons):
        strip.blit(picture, 25 * i, 0)
    return [("toolbar%s.png" % suffix, strip),
            ("recent%s.png" % suffix, recent_pages(s)),
            ("cursor-cube%s.png" % suffix, cursor_cube(s)),
            ("cursor-nocell%s.png" % suffix, cursor_no_cell(s)),
            ("cursor-copy%s.png" % suffix, cursor_arrow(True, s)),
            ("cursor-arrow%s.png" % suffix, cursor_arrow(False, s))]


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "resources", "pictures")
    os.makedirs(out, exist_ok=True)
    # The plain pictures, and the same drawings at twice the resolution for screens
    # with two device pixels per logical pixel (named @2x, as Qt looks them up).
    for s in (1, 2):
        for name, canvas in pictures(s):
            write_png(os.path.join(out, name), canvas)


if __name__ == "__main__":
    main()
