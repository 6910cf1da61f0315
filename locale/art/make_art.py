#!/usr/bin/env python3
"""make_art.py - draws the pictures of TrLocale.DLL and writes them into a
folder: the digit strip, the info dialog's background, the two icons and
the info dialog's animation. Python 3 standard library only, so the build
needs nothing else; edit the designs here and rebuild.

    make_art.py <output folder>
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import formats                                  # noqa: E402
from paint import (Canvas, arc, capsule, circle, clamp, hexrgb, linear,  # noqa: E402
                   polygon, radial, ring, rounded_box, skewed, smoothstep, subtract)

# The product's colours.
NAVY_TOP = hexrgb('1e2f4d')
NAVY_BOTTOM = hexrgb('0a111f')
AMBER = hexrgb('ffc800')
GREEN = hexrgb('35e27c')
GREEN_LIGHT = hexrgb('b8ffd4')
BLACK = hexrgb('000000')

# --- geometry the library draws at (client coordinates of the info dialog) --
DIGIT_W, DIGIT_H = 14, 20
DIGITS_AT = ((115, 41), (132, 41))
ICON_AT = (60, 24, 92, 56)                      # the 32 x 32 icon window
INFO_W, INFO_H = 496, 140                       # the background, and so the dialog
FRAME = 3                                       # dialog frame eating the bitmap's right and bottom
CLIP_SIZE = 48
CLIP_WELL = (418, 68, 476, 126)                 # the template's animation control (423,74), 48 x 48, in the
                                                # 8-point dialog font, with room for other fonts


# --- digit strip -------------------------------------------------------------

SEGMENTS = {0: 'abcdef', 1: 'bc', 2: 'abdeg', 3: 'abcdg', 4: 'bcfg',
            5: 'acdfg', 6: 'acdefg', 7: 'abc', 8: 'abcdefg', 9: 'abcdfg'}


def _segment_shapes(ox):
    """The seven segments of one cell as hexagonal bars, slanted like a
    digital clock's."""
    left, right, top, mid, bottom, h, tip = 3.2, 10.8, 2.6, 10.0, 17.4, 1.15, 0.35

    def horiz(y):
        x0, x1 = ox + left + tip, ox + right - tip
        return polygon([(x0, y), (x0 + h, y - h), (x1 - h, y - h), (x1, y), (x1 - h, y + h), (x0 + h, y + h)])

    def vert(x, y0, y1):
        x += ox
        y0, y1 = y0 + tip, y1 - tip
        return polygon([(x, y0), (x + h, y0 + h), (x + h, y1 - h), (x, y1), (x - h, y1 - h), (x - h, y0 + h)])

    shapes = {'a': horiz(top), 'g': horiz(mid), 'd': horiz(bottom),
              'f': vert(left, top, mid), 'b': vert(right, top, mid),
              'e': vert(left, mid, bottom), 'c': vert(right, mid, bottom)}
    return {k: skewed(f, 0.09, 10.0) for k, f in shapes.items()}


def digit_strip():
    """Ten 14 x 20 cells, 0 to 9 from the left. The image list turns the
    magenta pixels into its mask; every other pixel is drawn over black, the
    colour of the well the counter sits in."""
    c = Canvas(DIGIT_W * 10, DIGIT_H)
    lit = linear(GREEN_LIGHT, GREEN, 0, 2, 0, 18)
    for d in range(10):
        ox = d * DIGIT_W
        box = (ox, 0, ox + DIGIT_W, DIGIT_H)
        shapes = _segment_shapes(ox)
        for name, f in shapes.items():
            if name not in SEGMENTS[d]:
                c.fill(f, hexrgb('12301f'), box)
        for name, f in shapes.items():
            if name in SEGMENTS[d]:
                c.fill(lambda x, y, f=f: f(x, y) - 0.6, hexrgb('35e27c', 0.22), box, soft=1.6)
        for name, f in shapes.items():
            if name in SEGMENTS[d]:
                c.fill(f, lit, box)
    rgb = c.rgb_over((0, 0, 0))
    return [(255, 0, 255) if p[3] <= 1e-6 else q for p, q in zip(c.px, rgb)]


# --- info dialog background ----------------------------------------------

def _well(c, x0, y0, x1, y1, r=4):
    """A black inset panel with a faint lit lower edge."""
    c.fill(rounded_box(x0 - 1, y0, x1 + 1, y1 + 1.5, r + 1), hexrgb('4a6c9e', 0.35))
    c.fill(rounded_box(x0 - 1, y0 - 1.2, x1 + 1, y1, r + 1), hexrgb('02050b', 0.9))
    c.fill(rounded_box(x0, y0, x1, y1, r), BLACK)


def info_background():
    w, h = INFO_W, INFO_H
    vw, vh = w - 2 * FRAME, h - 2 * FRAME       # what the client area shows
    c = Canvas(w, h, NAVY_BOTTOM)
    c.wash(linear(NAVY_TOP, NAVY_BOTTOM, 0, 0, 0, vh))
    # a soft light from the upper left, and the faint arcs of a large dial
    c.wash(lambda x, y: hexrgb('3a5f96', 0.28 * clamp(1 - math.hypot((x - 150) / 260, (y + 30) / 120))))
    for r, a in ((150, 0.07), (128, 0.05), (106, 0.035)):
        c.fill(arc(vw + 20, vh + 40, r, math.pi, math.pi / 2, 1.2), hexrgb('6f93c8', a))
    # frame: a light hairline with a dark one inside it
    c.fill(subtract(rounded_box(2, 2, vw - 2, vh - 2, 6), rounded_box(3, 3, vw - 3, vh - 3, 5)),
           hexrgb('5d7fb3', 0.55))
    c.fill(subtract(rounded_box(3, 3, vw - 3, vh - 3, 5), rounded_box(4, 4, vw - 4, vh - 4, 4)),
           hexrgb('000000', 0.35))
    # a fading rule between the captions and the application's texts
    c.wash(lambda x, y: hexrgb('6f93c8', 0.45 * smoothstep(40, 140, x) * (1 - smoothstep(300, 400, x))),
           (40, 70, 400, 71))
    # a thin amber accent beside the heading
    c.fill(capsule(104, 18.5, 104, 28.5, 1.2), linear(AMBER, hexrgb('ff8a00'), 0, 18, 0, 29))
    # the wells under the icon window, the counter and the animation
    x0, y0, x1, y1 = ICON_AT
    _well(c, x0 - 3, y0 - 3, x1 + 3, y1 + 3)
    # the prompt starts 6 pixels after the counter: keep the panel's right edge clear of it
    _well(c, DIGITS_AT[0][0] - 4, DIGITS_AT[0][1] - 4, DIGITS_AT[1][0] + DIGIT_W + 3, DIGITS_AT[0][1] + DIGIT_H + 4, 3)
    _well(c, *CLIP_WELL, r=8)
    return c.rgb_over()


# --- icons ---------------------------------------------------------------------

def dial_icon(size):
    """The product: a jog dial with a knurled rim and an amber arrow turning
    around its face."""
    s = size / 32.0
    c = Canvas(size, size)
    cx = cy = 16 * s
    c.fill(circle(cx + 0.6 * s, cy + 1.2 * s, 14.6 * s), hexrgb('000000', 0.45), soft=max(1.0, 1.6 * s))
    c.fill(circle(cx, cy, 14.5 * s), linear(hexrgb('f2f6fb'), hexrgb('55647c'), 4 * s, 3 * s, 28 * s, 29 * s))
    if size >= 32:
        for i in range(28):
            a = i * 2 * math.pi / 28
            ca, sa = math.cos(a), math.sin(a)
            c.fill(capsule(cx + ca * 12.4 * s, cy + sa * 12.4 * s, cx + ca * 14.0 * s, cy + sa * 14.0 * s, 0.45 * s),
                   hexrgb('2c3850', 0.45))
    face = 11.6 * s if size >= 32 else 11.0 * s
    c.fill(circle(cx, cy, face + 0.8 * s), hexrgb('1a2436', 0.9))
    c.fill(circle(cx, cy, face), radial(hexrgb('4a6ea3'), hexrgb('0f1a2e'), cx - 3 * s, cy - 4 * s, 15 * s))
    # the arrow: an arc with a head, turning clockwise
    small = size < 32
    r, width = (7.4 if small else 6.6) * s, max(1.6, 2.6 * s)
    start, sweep = math.radians(-200), math.radians(250)
    c.fill(arc(cx, cy, r, start, sweep, width), linear(hexrgb('ffdf5a'), hexrgb('ff9d00'), 0, cy - r, 0, cy + r))
    end = start + sweep
    ex, ey = cx + r * math.cos(end), cy + r * math.sin(end)
    tx, ty = -math.sin(end), math.cos(end)                 # clockwise tangent
    nx, ny = math.cos(end), math.sin(end)
    head, back = (5.0 if small else 4.2) * s, 3.2 * s
    c.fill(polygon([(ex + tx * head, ey + ty * head), (ex - tx * back + nx * head, ey - ty * back + ny * head),
                    (ex - tx * back - nx * head, ey - ty * back - ny * head)]), hexrgb('ffb300'))
    if not small:
        c.fill(circle(cx, cy, 1.9 * s), hexrgb('e8eef6'))
    return c.rgba()


def app_icon(size):
    """A program without an icon of its own: a window with a green start
    badge."""
    s = size / 32.0
    c = Canvas(size, size)
    x0, y0, x1, y1 = 2.5 * s, 4.5 * s, 28.5 * s, 26.5 * s
    bar = y0 + max(3.0, 6.0 * s)
    c.fill(rounded_box(x0 + 0.6 * s, y0 + 1.2 * s, x1 + 0.6 * s, y1 + 1.2 * s, 2.5 * s), hexrgb('000000', 0.35),
           soft=max(1.0, 1.5 * s))
    c.fill(rounded_box(x0, y0, x1, y1, 2.5 * s), hexrgb('22324d'))
    inset = max(1.0, 1.0 * s)
    c.fill(rounded_box(x0 + inset, y0 + inset, x1 - inset, bar, 1.6 * s),
           linear(hexrgb('6aa6f0'), hexrgb('2b62b8'), 0, y0, 0, bar))
    c.fill(rounded_box(x0 + inset, bar + (0.5 if size < 32 else 0.8 * s), x1 - inset, y1 - inset, 1.2 * s),
           linear(hexrgb('ffffff'), hexrgb('d9e2ee'), 0, bar, 0, y1))
    if size >= 32:
        for i, length in enumerate((13, 9, 11)):
            yy = bar + (4.5 + 3.2 * i) * s
            c.fill(capsule(x0 + 4 * s, yy, x0 + (4 + length) * s, yy, 0.7 * s), hexrgb('9fb0c8'))
    # the start badge
    bx, by, br = 22.5 * s, 21.5 * s, 8.2 * s
    c.fill(circle(bx + 0.4 * s, by + 0.9 * s, br + 0.6 * s), hexrgb('000000', 0.35), soft=max(1.0, 1.4 * s))
    c.fill(circle(bx, by, br), hexrgb('ffffff'))
    c.fill(circle(bx, by, br - max(1.0, 1.3 * s)), radial(hexrgb('7af0a2'), hexrgb('169443'), bx - 2 * s, by - 3 * s, 10 * s))
    t = (4.6 if size < 32 else 3.9) * s
    c.fill(polygon([(bx - 0.45 * t, by - t), (bx + 1.0 * t, by), (bx - 0.45 * t, by + t)]), hexrgb('ffffff'))
    return c.rgba()


# --- the info dialog's animation ----------------------------------------------

def _ease(t):
    return 4 * t * t * t if t < 0.5 else 1 - (-2 * t + 2) ** 3 / 2


def clip_frames(count=36):
    """A dial turning once while a green ring fills around it; at the end an
    amber start arrow lights up in the middle. The last frame stays shown."""
    n = CLIP_SIZE
    cx = cy = n / 2
    frames = []
    for i in range(count):
        t = i / (count - 1)
        e = _ease(t)
        turn = e * 2 * math.pi
        c = Canvas(n, n, BLACK)
        c.fill(ring(cx, cy, 20.5, 2.4), hexrgb('12263f'))
        if e > 0.002:
            c.fill(arc(cx, cy, 20.5, -math.pi / 2, turn, 4.5), hexrgb('35e27c', 0.30), soft=2.0)
            c.fill(arc(cx, cy, 20.5, -math.pi / 2, turn, 2.4), linear(GREEN, GREEN_LIGHT, 0, 4, 0, 44))
            hx, hy = cx + 20.5 * math.cos(turn - math.pi / 2), cy + 20.5 * math.sin(turn - math.pi / 2)
            c.fill(circle(hx, hy, 2.0), hexrgb('eafff2'))
        c.fill(circle(cx, cy, 15.5), linear(hexrgb('e9eef5'), hexrgb('4d5b72'), 12, 10, 36, 38))
        for k in range(24):
            a = turn + k * 2 * math.pi / 24
            ca, sa = math.cos(a), math.sin(a)
            c.fill(capsule(cx + ca * 13.3, cy + sa * 13.3, cx + ca * 15.0, cy + sa * 15.0, 0.5), hexrgb('27344a', 0.5))
        c.fill(circle(cx, cy, 12.6), hexrgb('18223a'))
        c.fill(circle(cx, cy, 12.0), radial(hexrgb('4a6ea3'), hexrgb('0e182b'), cx - 3, cy - 4, 15))
        glow = smoothstep(0.72, 1.0, t)
        da = turn - math.pi / 2
        dot = 1.0 - glow
        if dot > 0.01:
            c.fill(circle(cx + 8.4 * math.cos(da), cy + 8.4 * math.sin(da), 2.1), hexrgb('ffc800', dot))
        if glow > 0.0:
            k = 0.75 + 0.25 * glow
            tri = [(cx - 3.2 * k, cy - 5.6 * k), (cx + 5.8 * k, cy), (cx - 3.2 * k, cy + 5.6 * k)]
            c.fill(lambda x, y: polygon(tri)(x, y) - 1.2, hexrgb('ffb300', 0.35 * glow), soft=2.5)
            c.fill(polygon(tri), linear(hexrgb('ffe066', glow), hexrgb('ff9d00', glow), 0, cy - 6, 0, cy + 6))
        frames.append(c.rgb_over())
    return frames


def main(out):
    os.makedirs(out, exist_ok=True)
    formats.write_bmp(os.path.join(out, 'TrDigits.bmp'), DIGIT_W * 10, DIGIT_H, digit_strip())
    formats.write_bmp(os.path.join(out, 'TrInfoBack.bmp'), INFO_W, INFO_H, info_background())
    formats.write_ico(os.path.join(out, 'TrDialog.ico'), [(z, dial_icon(z)) for z in (16, 32, 48)])
    formats.write_ico(os.path.join(out, 'TrFallback.ico'), [(z, app_icon(z)) for z in (16, 32, 48)])
    palette, frames = formats.quantise(clip_frames())
    formats.write_avi(os.path.join(out, 'TrInfoClip.avi'), CLIP_SIZE, CLIP_SIZE, frames, palette, fps=18)


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
