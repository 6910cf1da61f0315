"""paint.py - a tiny anti-aliased painter for the resource pictures.

Shapes are signed distance functions (negative inside, in pixels); a pixel's
coverage is taken from the distance at its centre, which gives clean
one-pixel edges without supersampling. Colours are premultiplied RGBA floats
in 0..1 and shapes are composited with the usual "over" rule.
"""
import math


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    """Blends two colours (tuples of equal length) by t in 0..1."""
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def hexrgb(text, alpha=1.0):
    text = text.lstrip('#')
    return (int(text[0:2], 16) / 255, int(text[2:4], 16) / 255, int(text[4:6], 16) / 255, alpha)


# --- signed distance functions --------------------------------------------

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2


def rounded_box(x0, y0, x1, y1, r):
    cx, cy, hw, hh = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        dx, dy = abs(x - cx) - hw, abs(y - cy) - hh
        outside = math.hypot(max(dx, 0.0), max(dy, 0.0))
        return outside + min(max(dx, dy), 0.0) - r
    return f


def capsule(ax, ay, bx, by, r):
    vx, vy = bx - ax, by - ay
    vv = vx * vx + vy * vy or 1e-9

    def f(x, y):
        t = clamp(((x - ax) * vx + (y - ay) * vy) / vv)
        return math.hypot(x - ax - vx * t, y - ay - vy * t) - r
    return f


def arc(cx, cy, r, start, sweep, width):
    """A stroke along a circle from angle start (radians, clockwise on screen,
    0 = right) through sweep, with round caps."""
    if sweep < 0:
        start, sweep = start + sweep, -sweep
    ex, ey = cx + r * math.cos(start), cy + r * math.sin(start)
    fx, fy = cx + r * math.cos(start + sweep), cy + r * math.sin(start + sweep)

    def f(x, y):
        a = (math.atan2(y - cy, x - cx) - start) % (2 * math.pi)
        if a <= sweep:
            d = abs(math.hypot(x - cx, y - cy) - r)
        else:
            d = min(math.hypot(x - ex, y - ey), math.hypot(x - fx, y - fy))
        return d - width / 2
    return f


def polygon(points):
    """Convex polygon, points in either order."""
    n = len(points)
    area = sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1] for i in range(n))
    if area < 0:
        points = points[::-1]
    edges = []
    for i in range(n):
        (ax, ay), (bx, by) = points[i], points[(i + 1) % n]
        ex, ey = bx - ax, by - ay
        ln = math.hypot(ex, ey)
        edges.append((ax, ay, ey / ln, -ex / ln))     # outward normal

    def f(x, y):
        return max((x - ax) * nx + (y - ay) * ny for ax, ay, nx, ny in edges)
    return f


def union(*fs):
    return lambda x, y: min(f(x, y) for f in fs)


def intersect(*fs):
    return lambda x, y: max(f(x, y) for f in fs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def skewed(f, k, cy):
    """Slants a shape to the right by k pixels per pixel above cy."""
    return lambda x, y: f(x - (cy - y) * k, y)


# --- the canvas ------------------------------------------------------------

class Canvas:
    def __init__(self, w, h, fill=(0.0, 0.0, 0.0, 0.0)):
        self.w, self.h = w, h
        r, g, b, a = fill
        self.px = [[r * a, g * a, b * a, a] for _ in range(w * h)]

    def _paint(self, x0, y0, x1, y1, cover, colour):
        x0, y0 = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
        x1, y1 = min(self.w, int(math.ceil(x1))), min(self.h, int(math.ceil(y1)))
        flat = not callable(colour)
        for y in range(y0, y1):
            row = y * self.w
            for x in range(x0, x1):
                c = cover(x + 0.5, y + 0.5)
                if c <= 0.0:
                    continue
                r, g, b, a = colour if flat else colour(x + 0.5, y + 0.5)
                a *= c
                if a <= 0.0:
                    continue
                p = self.px[row + x]
                k = 1.0 - a
                p[0] = r * a + p[0] * k
                p[1] = g * a + p[1] * k
                p[2] = b * a + p[2] * k
                p[3] = a + p[3] * k

    def fill(self, sdf, colour, box=None, soft=1.0):
        """Paints a shape; soft widens the edge ramp (glows, shadows)."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        self._paint(x0, y0, x1, y1, lambda x, y: clamp(0.5 - sdf(x, y) / soft), colour)

    def wash(self, colour, box=None):
        """Paints every pixel of a box with a (usually position dependent) colour."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        self._paint(x0, y0, x1, y1, lambda x, y: 1.0, colour)

    def rgba(self):
        """Rows top to bottom of straight (not premultiplied) 8-bit RGBA."""
        out = []
        for p in self.px:
            a = p[3]
            if a <= 1e-6:
                out.append((0, 0, 0, 0))
            else:
                out.append(tuple(int(round(clamp(p[i] / a) * 255)) for i in range(3))
                           + (int(round(clamp(a) * 255)),))
        return out

    def rgb_over(self, bg=(0, 0, 0)):
        """Flattened onto an opaque background colour (8-bit RGB tuples)."""
        out = []
        for p in self.px:
            k = 1.0 - p[3]
            out.append(tuple(int(round(clamp(p[i] + bg[i] / 255 * k) * 255)) for i in range(3)))
        return out


def linear(c0, c1, x0, y0, x1, y1):
    """A colour function: a linear gradient from c0 at (x0,y0) to c1 at (x1,y1)."""
    vx, vy = x1 - x0, y1 - y0
    vv = vx * vx + vy * vy

    def f(x, y):
        return mix(c0, c1, clamp(((x - x0) * vx + (y - y0) * vy) / vv))
    return f


def radial(c0, c1, cx, cy, r):
    def f(x, y):
        return mix(c0, c1, clamp(math.hypot(x - cx, y - cy) / r))
    return f
