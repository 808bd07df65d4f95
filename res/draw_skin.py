#!/usr/bin/env python3
"""Draws the finder's skin: every bitmap of the window and the program icon.

Run from anywhere:  python3 res/draw_skin.py
It rewrites res/bitmaps/<id>.png (24-bit RGB, no alpha), res/icons/128-<size>.png
(RGBA) and the scalable icon res/icons/finder.svg. Only the Python standard library is used; the PNGs are written with zlib and
struct. The committed PNGs are what the build compiles in, so rerun this only when the
look changes, then commit the PNGs with it.

One look throughout: a light-grey vertical gradient for the window, a blue caption bar,
a darker blue panel behind the caption buttons, white symbols that glow when the
pointer is over them, and grey-blue command buttons.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Colours shared by several pictures, so that they meet without seams.
CAPTION_TOP = (86, 140, 214)
CAPTION_BOTTOM = (30, 76, 156)
PANEL_TOP = (52, 98, 176)
PANEL_BOTTOM = (18, 52, 118)
BACK_TOP = (238, 239, 241)
BACK_BOTTOM = (178, 182, 188)
SYMBOL = (228, 236, 248)
GLOW_CLOSE = (255, 120, 96)
GLOW_TRAY = (150, 220, 255)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


class Canvas:
    """A float RGB(A) picture drawn at `scale` times its size and averaged down on save,
    which smooths the edges of the symbols."""

    def __init__(self, width, height, scale=1, alpha=False):
        self.w, self.h, self.s = width, height, scale
        self.alpha = alpha
        fill = (0.0, 0.0, 0.0, 0.0) if alpha else (0.0, 0.0, 0.0, 255.0)
        self.px = [[list(fill) for _ in range(width * scale)] for _ in range(height * scale)]

    def put(self, x, y, colour, cover=1.0):
        """Blends `colour` over the pixel (x, y) of the large grid."""
        if cover <= 0 or not (0 <= x < self.w * self.s and 0 <= y < self.h * self.s):
            return
        p = self.px[y][x]
        a = colour[3] / 255.0 * cover if len(colour) > 3 else cover
        for i in range(3):
            p[i] = p[i] * (1 - a) + colour[i] * a
        p[3] = p[3] + (255.0 - p[3]) * a

    def shade(self, fn):
        """Paints every pixel with fn(u, v), u and v from 0 to 1 across the picture."""
        W, H = self.w * self.s, self.h * self.s
        for y in range(H):
            for x in range(W):
                self.put(x, y, fn((x + 0.5) / W, (y + 0.5) / H))

    def shape(self, inside, colour):
        """Fills the points (in output pixels) for which inside(x, y) holds."""
        for y in range(self.h * self.s):
            for x in range(self.w * self.s):
                if inside((x + 0.5) / self.s, (y + 0.5) / self.s):
                    self.put(x, y, colour)

    def glow(self, distance, colour, radius):
        """A soft halo: strength falls off with distance(x, y) from a symbol."""
        for y in range(self.h * self.s):
            for x in range(self.w * self.s):
                d = distance((x + 0.5) / self.s, (y + 0.5) / self.s)
                if d < radius:
                    self.put(x, y, colour, (1 - d / radius) ** 2 * 0.9)

    def rows(self):
        out = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                acc = [0.0, 0.0, 0.0, 0.0]
                for yy in range(y * self.s, (y + 1) * self.s):
                    for xx in range(x * self.s, (x + 1) * self.s):
                        for i in range(4):
                            acc[i] += self.px[yy][xx][i]
                n = self.s * self.s
                row.append([max(0, min(255, round(c / n))) for c in acc])
            out.append(row)
        return out

    def save(self, path):
        channels = 4 if self.alpha else 3
        raw = b"".join(
            b"\0" + bytes(c for p in row for c in p[:channels]) for row in self.rows()
        )

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        colour_type = 6 if self.alpha else 2
        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, colour_type, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9))
        png += chunk(b"IEND", b"")
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(png)


def seg_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def caption_strip(c):
    def fn(u, v):
        base = mix(CAPTION_TOP, CAPTION_BOTTOM, v)
        return mix(base, (255, 255, 255), 0.35) if v < 1 / 30 else base

    c.shade(fn)


def panel(c):
    c.shade(lambda u, v: mix(PANEL_TOP, PANEL_BOTTOM, v))


# A 5 x 7 pixel font with the letters of the logo.
FONT = {
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "I": ["111", "010", "010", "010", "010", "010", "111"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
}


def camera(c, ox, oy, size, body, lens):
    """A small camera: rounded body, lens ring and a viewfinder bump, `size` wide."""
    k = size / 24.0

    def in_body(x, y):
        x, y = (x - ox) / k, (y - oy) / k
        if 6 <= x <= 10 and 2.5 <= y <= 6:
            return True
        if not (1 <= x <= 23 and 5 <= y <= 19):
            return False
        cx, cy = min(max(x, 3), 21), min(max(y, 7), 17)
        return math.hypot(x - cx, y - cy) <= 2

    c.shape(in_body, body)
    cx, cy = ox + 12 * k, oy + 12 * k
    c.shape(lambda x, y: math.hypot(x - cx, y - cy) <= 5.5 * k, lens)
    c.shape(lambda x, y: math.hypot(x - cx, y - cy) <= 3.5 * k, body)
    c.shape(lambda x, y: math.hypot(x - cx - k, y - cy - k) <= 1.8 * k, lens)


def logo(path):
    c = Canvas(77, 30, 4)
    caption_strip(c)
    camera(c, 4, 4, 22, SYMBOL, CAPTION_BOTTOM)
    x = 30
    for ch in "LANVISTA":
        glyph = FONT[ch]
        for gy, line in enumerate(glyph):
            for gx, bit in enumerate(line):
                if bit == "1":
                    for yy in range(4):
                        for xx in range(4):
                            c.put((x + gx) * 4 + xx, (12 + gy) * 4 + yy, SYMBOL)
        x += len(glyph[0]) + 1
    c.save(path)


def frame_end(path, left):
    """Where the caption meets the darker panel behind the two caption buttons."""
    c = Canvas(24, 30, 4)

    def fn(u, v):
        x = u * 24
        edge = 16 if left else 8
        inside = x >= edge if left else x < edge
        colour = mix(PANEL_TOP, PANEL_BOTTOM, v) if inside else mix(CAPTION_TOP, CAPTION_BOTTOM, v)
        if abs(x - edge) < 1:
            colour = mix(colour, (10, 30, 80), 0.7)
        elif abs(x - (edge + (1 if left else -1))) < 1:
            colour = mix(colour, (255, 255, 255), 0.25)
        if v < 1 / 30 and not inside:
            colour = mix(colour, (255, 255, 255), 0.35)
        return colour

    c.shade(fn)
    c.save(path)


def close_button(path, glowing):
    c = Canvas(28, 30, 4)
    panel(c)

    def dist(x, y):
        return min(seg_distance(x, y, 9.5, 10.5, 18.5, 19.5), seg_distance(x, y, 18.5, 10.5, 9.5, 19.5))

    if glowing:
        c.glow(dist, GLOW_CLOSE, 7)
    c.shape(lambda x, y: dist(x, y) <= 1.3, (255, 255, 255) if glowing else SYMBOL)
    c.save(path)


def tray_button(path, glowing):
    c = Canvas(28, 30, 4)
    panel(c)

    def dist(x, y):
        return seg_distance(x, y, 9, 19, 19, 19)

    if glowing:
        c.glow(dist, GLOW_TRAY, 7)
    c.shape(lambda x, y: dist(x, y) <= 1.3, (255, 255, 255) if glowing else SYMBOL)
    c.save(path)


def button_face(path, top, bottom, border, corner_bg=(200, 203, 208)):
    """A 55 x 29 command button: rounded, bordered, with a soft vertical gradient."""
    c = Canvas(55, 29, 4)
    w, h, r = 55.0, 29.0, 4.0

    def rounded(x, y, inset):
        x0, y0, x1, y1 = inset, inset, w - inset, h - inset
        rr = r - inset
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + rr), x1 - rr)
        cy = min(max(y, y0 + rr), y1 - rr)
        return math.hypot(x - cx, y - cy) <= rr

    c.shade(lambda u, v: corner_bg)
    c.shape(lambda x, y: rounded(x, y, 0.5), border)
    face = Canvas(55, 29, 4)
    face.shade(lambda u, v: mix(top, bottom, v))
    for y in range(29 * 4):
        for x in range(55 * 4):
            if rounded((x + 0.5) / 4, (y + 0.5) / 4, 1.5):
                c.put(x, y, face.px[y][x][:3])
    c.save(path)


def background(path):
    c = Canvas(312, 281)
    c.shade(lambda u, v: mix(BACK_TOP, BACK_BOTTOM, v))
    c.save(path)


def mask(path):
    Canvas(104, 34).save(path)  # all black: the whole rectangle is solid


def icon(path, size):
    s = 4
    c = Canvas(size, size, s, alpha=True)
    r = size * 0.2

    def rounded(x, y):
        cx = min(max(x, r), size - r)
        cy = min(max(y, r), size - r)
        return math.hypot(x - cx, y - cy) <= r

    for y in range(size * s):
        for x in range(size * s):
            xf, yf = (x + 0.5) / s, (y + 0.5) / s
            if rounded(xf, yf):
                c.put(x, y, mix(CAPTION_TOP, CAPTION_BOTTOM, yf / size) + (255,))
    pad = size * 0.1
    camera(c, pad, pad + size * 0.04, size - 2 * pad, SYMBOL + (255,), CAPTION_BOTTOM + (255,))
    c.save(path)


def icon_svg(path):
    """The program icon as a scalable picture, drawn as `icon` draws the PNGs."""
    size = 48
    pad = size * 0.1
    k = (size - 2 * pad) / 24.0
    ox, oy = pad, pad + size * 0.04
    hexa = lambda c: "#%02x%02x%02x" % c
    x = lambda u: round(ox + u * k, 3)
    y = lambda v: round(oy + v * k, 3)
    cx, cy = x(12), y(12)
    svg = f"""<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 {size} {size}">
  <defs>
    <linearGradient id="back" gradientUnits="userSpaceOnUse" x1="0" y1="0" x2="0" y2="{size}">
      <stop offset="0" stop-color="{hexa(CAPTION_TOP)}"/>
      <stop offset="1" stop-color="{hexa(CAPTION_BOTTOM)}"/>
    </linearGradient>
  </defs>
  <rect width="{size}" height="{size}" rx="{round(size * 0.2, 3)}" fill="url(#back)"/>
  <g fill="{hexa(SYMBOL)}">
    <rect x="{x(6)}" y="{y(2.5)}" width="{round(4 * k, 3)}" height="{round(4 * k, 3)}"/>
    <rect x="{x(1)}" y="{y(5)}" width="{round(22 * k, 3)}" height="{round(14 * k, 3)}" rx="{round(2 * k, 3)}"/>
  </g>
  <circle cx="{cx}" cy="{cy}" r="{round(5.5 * k, 3)}" fill="{hexa(CAPTION_BOTTOM)}"/>
  <circle cx="{cx}" cy="{cy}" r="{round(3.5 * k, 3)}" fill="{hexa(SYMBOL)}"/>
  <circle cx="{round(cx + k, 3)}" cy="{round(cy + k, 3)}" r="{round(1.8 * k, 3)}" fill="{hexa(CAPTION_BOTTOM)}"/>
</svg>
"""
    with open(path, "w") as out:
        out.write(svg)


def main():
    b = lambda n: os.path.join(HERE, "bitmaps", f"{n}.png")
    background(b(130))
    strip = Canvas(24, 30, 1)
    caption_strip(strip)
    strip.save(b(174))
    logo(b(177))
    frame_end(b(180), left=True)
    frame_end(b(179), left=False)
    close_button(b(137), glowing=False)
    close_button(b(136), glowing=True)
    tray_button(b(129), glowing=False)
    tray_button(b(140), glowing=True)
    button_face(b(134), (246, 248, 251), (204, 212, 224), (96, 112, 140))
    button_face(b(135), (170, 184, 206), (214, 222, 234), (40, 70, 130))
    button_face(b(132), (252, 253, 255), (190, 214, 244), (40, 100, 200))
    mask(b(178))
    for size in (16, 32, 48):
        icon(os.path.join(HERE, "icons", f"128-{size}.png"), size)
    icon_svg(os.path.join(HERE, "icons", "finder.svg"))


if __name__ == "__main__":
    main()
