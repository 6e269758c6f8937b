#!/usr/bin/env python3
"""Draws the 22 face pictures of the battle strip: art/face-00.png .. face-21.png.

face-(3c) is party member c's normal face, face-(3c+1) its sleeping face,
face-(3c+2) its pained face and face-21 the shared knocked-out panel.
Every picture is drawn with shapes at 4x and reduced to 90x90, so edges stay
smooth.  The game prints "Sleeping..." / "Danger！" across y 66..88 of the
sleeping and pained faces, so that band is kept to calm mid-tones.

Run from anywhere:  /usr/bin/python3 art/src/faces/make.py
"""
import math
import os
import sys

import numpy as np
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ART = os.path.normpath(os.path.join(HERE, '..', '..'))

SIZE = 90
S = 4                      # supersampling factor
W = SIZE * S

NORMAL, SLEEP, PAIN = 0, 1, 2


# ---------------------------------------------------------------- colours

def hexc(s):
    s = s.lstrip('#')
    return tuple(int(s[i:i + 2], 16) for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def dark(c, t=0.5):
    """Outline tone of a fill: darker and pulled toward a warm purple-brown."""
    return mix(c, (40, 18, 36), t)


# ---------------------------------------------------------------- geometry

def bez(*pts, n=20):
    """Points along a Bezier curve of any degree (De Casteljau)."""
    out = []
    for k in range(n + 1):
        t = k / n
        p = [tuple(q) for q in pts]
        while len(p) > 1:
            p = [((1 - t) * p[i][0] + t * p[i + 1][0],
                  (1 - t) * p[i][1] + t * p[i + 1][1]) for i in range(len(p) - 1)]
        out.append(p[0])
    return out


def path(*segs):
    """Joins curve segments (each a tuple of control points) into one outline."""
    pts = []
    for seg in segs:
        c = bez(*seg) if len(seg) > 2 else list(seg)
        if pts and abs(pts[-1][0] - c[0][0]) < 1e-6 and abs(pts[-1][1] - c[0][1]) < 1e-6:
            c = c[1:]
        pts.extend(c)
    return pts


def mirror(pts, cx=45.0):
    return [(2 * cx - x, y) for x, y in pts]


def ribbon(pts, w0, w1=None, wmid=None):
    """Outline of a stroke along pts whose width runs w0 -> (wmid) -> w1."""
    if w1 is None:
        w1 = w0
    n = len(pts)
    left, right = [], []
    for i, (x, y) in enumerate(pts):
        a = pts[max(i - 1, 0)]
        b = pts[min(i + 1, n - 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        ln = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / ln, dx / ln
        t = i / (n - 1)
        if wmid is None:
            w = w0 + (w1 - w0) * t
        else:
            w = (w0 + (wmid - w0) * t * 2) if t < 0.5 else (wmid + (w1 - wmid) * (t - 0.5) * 2)
        left.append((x + nx * w / 2, y + ny * w / 2))
        right.append((x - nx * w / 2, y - ny * w / 2))
    return left + right[::-1]


def lock(root, tip, w, bend=0.0, n=16):
    """A tapering lock of hair from a root of half-width w to a pointed tip."""
    rx, ry = root
    tx, ty = tip
    dx, dy = tx - rx, ty - ry
    ln = math.hypot(dx, dy) or 1.0
    nx, ny = -dy / ln, dx / ln
    a = (rx + nx * w, ry + ny * w)
    b = (rx - nx * w, ry - ny * w)
    mx, my = (rx + tx) / 2 + nx * bend, (ry + ty) / 2 + ny * bend
    ca = (mx + nx * w * 0.75, my + ny * w * 0.75)
    cb = (mx - nx * w * 0.75, my - ny * w * 0.75)
    return bez(a, ca, tip, n=n) + bez(tip, cb, b, n=n)[1:]


# ---------------------------------------------------------------- masks

def blank():
    return Image.new('L', (W, W), 0)


def poly(pts):
    m = blank()
    ImageDraw.Draw(m).polygon([(x * S, y * S) for x, y in pts], fill=255)
    return m


def ell(cx, cy, rx, ry):
    m = blank()
    ImageDraw.Draw(m).ellipse([(cx - rx) * S, (cy - ry) * S, (cx + rx) * S, (cy + ry) * S], fill=255)
    return m


def rect(x0, y0, x1, y1):
    m = blank()
    ImageDraw.Draw(m).rectangle([x0 * S, y0 * S, x1 * S - 1, y1 * S - 1], fill=255)
    return m


def union(*ms):
    out = ms[0]
    for m in ms[1:]:
        out = ImageChops.lighter(out, m)
    return out


def inter(a, b):
    return ImageChops.multiply(a, b)


def minus(a, b):
    return ImageChops.subtract(a, b)


def shift(m, dx, dy):
    out = blank()
    out.paste(m, (int(round(dx * S)), int(round(dy * S))))
    return out


def grow(m, px):
    k = max(1, int(round(px * S)))
    out = m
    while k > 0:
        step = min(k, 3)
        out = out.filter(ImageFilter.MaxFilter(2 * step + 1))
        k -= step
    return out


def empty(m):
    return m.getbbox() is None


# ---------------------------------------------------------------- canvas

class Canvas:
    def __init__(self, bg):
        self.im = bg.copy()

    def fill(self, m, colour, alpha=1.0):
        if alpha < 1.0:
            m = m.point(lambda v: int(v * alpha))
        self.im.paste(colour, (0, 0), m)

    def part(self, m, fill, out=None, ow=0.9, shade=None, sd=(1.6, 1.4), clip=None):
        """A cel-shaded shape: dark rim, flat fill, shadow along the lower right."""
        if clip is not None:
            m = inter(m, clip)
        if out is not False:
            self.fill(grow(m, ow), dark(fill) if out is None else out)
        self.fill(m, fill)
        if shade:
            sh = minus(m, shift(m, -sd[0], -sd[1]))
            self.fill(sh, shade)
        return m

    def ring(self, m, colour, width=0.9):
        """Only the rim of a mask (for lines that sit over other parts)."""
        self.fill(minus(grow(m, width), m), colour)

    def stroke(self, pts, w0, colour, w1=None, wmid=None):
        m = poly(ribbon(pts, w0, w1, wmid))
        self.fill(m, colour)
        return m

    def final(self):
        return self.im.resize((SIZE, SIZE), Image.LANCZOS)


def backdrop(top, bottom, glow=None, night=False):
    """Vertical gradient with a soft glow behind the head."""
    y = np.linspace(0, 1, W)[:, None]
    x = np.linspace(0, 1, W)[None, :]
    t = np.clip(y * 1.1 - 0.05, 0, 1)
    a = np.array(top, float)
    b = np.array(bottom, float)
    img = a[None, None, :] * (1 - t[..., None]) + b[None, None, :] * t[..., None]
    img = np.broadcast_to(img, (W, W, 3)).copy()
    if glow is not None:
        d = np.sqrt((x - 0.5) ** 2 + ((y - 0.38) * 1.1) ** 2)
        g = np.clip(1 - d / 0.48, 0, 1) ** 1.6 * 0.55
        img = img * (1 - g[..., None]) + np.array(glow, float)[None, None, :] * g[..., None]
    if night:
        img = img * 0.8 + np.array((52, 58, 128), float) * 0.2
    return Image.fromarray(np.clip(img, 0, 255).astype(np.uint8), 'RGB')


# ---------------------------------------------------------------- face parts

SKIN = hexc('#ffe6d5')
SKIN_SH = hexc('#f6c2a8')
SKIN_OUT = hexc('#b0644e')
BLUSH = hexc('#ff8c9a')
MOUTH = hexc('#8e2c3c')
TONGUE = hexc('#f07a88')
WHITE = (255, 255, 255)
SWEAT = hexc('#8fd4ff')


def face_shape(chin=62.0, width=1.0, cheek=1.0):
    """Outline of the face, temples to chin (the top hides under the hair)."""
    half = 18.6 * width
    l, r = 45 - half, 45 + half
    right = bez((r, 28), (r + 1.2 * width, 45 * cheek), (45 + 11.5 * width, 58 + (chin - 62) * 0.6), (45, chin))
    left = mirror(right[::-1])
    top = bez((l, 28), (l - 1, 8), (r + 1, 8), (r, 28))
    return right + left[1:] + top[1:]


def draw_face(cv, chin=62.0, width=1.0, cheek=1.0, ears=True):
    half = 18.6 * width
    if ears:
        for sx in (-1, 1):
            ex = 45 + sx * (half + 0.4)
            e = ell(ex, 43.5, 3.2, 4.6)
            cv.part(e, SKIN, out=SKIN_OUT, shade=SKIN_SH)
            cv.fill(ell(ex + sx * 0.6, 43.8, 1.3, 2.4), SKIN_SH)
    f = poly(face_shape(chin, width, cheek))
    cv.part(f, SKIN, out=SKIN_OUT, shade=None)
    # soft cel shadow along the jaw on the right
    jaw = minus(f, shift(f, -2.2, -1.0))
    cv.fill(jaw, SKIN_SH)
    return f


def neck(cv, y0=52, y1=72, half=5.6):
    n = poly([(45 - half, y0), (45 + half, y0), (45 + half + 0.6, y1), (45 - half - 0.6, y1)])
    cv.part(n, SKIN, out=SKIN_OUT)
    cv.fill(inter(n, ell(45, y0 + 4, half + 2, 6.5)), SKIN_SH)
    return n


def hair_under_shadow(cv, face, hair_front, amount=(0.0, 2.4)):
    """Shadow the fringe casts on the forehead."""
    sh = inter(face, minus(shift(hair_front, *amount), hair_front))
    cv.fill(sh, SKIN_SH)


def eye(cv, cx, cy, side, iris, w=9.0, h=10.0, tilt=0.0, lid=0.0,
        lash=(40, 22, 36), lashes=True, glint=True, lower=True, gaze=(0.0, 0.0)):
    """An open eye.  side -1 is the eye on the viewer's left.
    lid (0..1) lowers the upper lid over the iris."""
    side = -side                              # below, +side points toward the nose
    o = (cx - side * w / 2, cy - tilt)       # outer corner
    i = (cx + side * w / 2, cy + tilt * 0.3)  # inner corner
    top_y = cy - h / 2 + lid * h * 0.5
    top = bez(i, (cx + side * w * 0.3, top_y - 0.5), (cx - side * w * 0.25, top_y - 0.6), o)
    bot = bez(o, (cx - side * w * 0.35, cy + h * 0.55), (cx + side * w * 0.25, cy + h * 0.6), i)
    white = poly(top + bot[1:])
    cv.fill(white, WHITE)
    cv.fill(inter(white, shift(white, 0, -h * 0.25)), (255, 255, 255))
    # shadow of the upper lid
    cv.fill(minus(white, shift(white, 0, h * 0.22)), hexc('#d8dcf0'))
    irx, iry = w * 0.37, h * 0.47
    icx, icy = cx + side * 0.2 + gaze[0], cy + h * 0.07 + gaze[1]
    ir = inter(ell(icx, icy, irx, iry), white)
    cv.fill(ir, iris)
    cv.fill(inter(ir, ell(icx, icy - iry * 0.55, irx * 1.1, iry * 0.6)), dark(iris, 0.45))
    cv.fill(inter(ir, ell(icx, icy + iry * 0.62, irx * 0.75, iry * 0.35)), mix(iris, WHITE, 0.35))
    cv.fill(inter(ell(icx, icy, irx * 0.45, iry * 0.5), white), dark(iris, 0.8))
    cv.ring(ir, dark(iris, 0.7), 0.35)
    if glint:
        cv.fill(inter(ell(icx - irx * 0.3, icy - iry * 0.35, irx * 0.42, iry * 0.3), white), WHITE)
        cv.fill(inter(ell(icx + irx * 0.38, icy + iry * 0.42, irx * 0.18, iry * 0.14), white), WHITE)
    # upper lash line, thick at the outer corner
    cv.stroke(top, 0.5, lash, w1=2.2 if lashes else 1.6, wmid=1.7)
    if lashes:
        fl = bez(o, (o[0] - side * 1.4, o[1] - 0.4), (o[0] - side * 2.2, o[1] - 1.6), n=8)
        cv.stroke(fl, 1.6, lash, w1=0.2)
    if lower:
        lo = bez((cx - side * w * 0.44, cy + h * 0.36), (cx - side * w * 0.3, cy + h * 0.56), (cx - side * w * 0.05, cy + h * 0.6), n=10)
        cv.stroke(lo, 0.55, mix(lash, SKIN, 0.55), w1=0.1)


def eye_closed(cv, cx, cy, side, w=9.0, lash=(40, 22, 36), lashes=True, happy=False):
    """Sleeping eyes hang downward; happy ones arch up."""
    side = -side
    d = -1 if happy else 1
    pts = bez((cx - w / 2, cy + 1), (cx - w / 4, cy + 1 + d * 3.2), (cx + w / 4, cy + 1 + d * 3.2), (cx + w / 2, cy + 1))
    cv.stroke(pts, 0.9, lash, w1=0.9, wmid=1.9)
    if lashes and not happy:
        for k in (0, 1):
            base = pts[3 + k * 3] if side > 0 else pts[-4 - k * 3]
            cv.stroke([base, (base[0] - side * 1.2, base[1] + 1.8 - k * 0.3)], 0.9, lash, w1=0.2)


def eye_squeeze(cv, cx, cy, side, w=8.0, lash=(40, 22, 36)):
    """Squeezed shut in pain: > on the left eye, < on the right."""
    a = (cx - side * w / 2, cy - 3.0)
    b = (cx + side * w / 2 - side * 0.5, cy + 0.6)
    c = (cx - side * w / 2, cy + 3.6)
    cv.stroke(bez(a, (cx, cy - 1.2), b, n=8) + bez(b, (cx, cy + 1.5), c, n=8)[1:], 2.0, lash, w1=1.2, wmid=2.2)


def brow(cv, cx, cy, side, colour, w=8.5, inner=0.0, outer=0.0, arch=1.2, thick=1.6):
    """inner/outer lift the ends (negative = up)."""
    side = -side
    i = (cx + side * w / 2, cy + inner)
    o = (cx - side * w / 2, cy + outer)
    m = ((i[0] + o[0]) / 2, (i[1] + o[1]) / 2 - arch)
    cv.stroke(bez(i, m, o, n=12), thick, colour, w1=0.4, wmid=thick)


def blush(cv, alpha=0.45, y=52.5, dx=12.5, rx=4.6, ry=2.2):
    for sx in (-1, 1):
        cv.fill(ell(45 + sx * dx, y, rx, ry), BLUSH, alpha)
        for k in (-1, 0, 1):
            x0 = 45 + sx * dx + k * 2.0
            cv.stroke([(x0 + 0.6, y - 0.9), (x0 - 0.6, y + 0.9)], 0.45, mix(BLUSH, (200, 60, 90), 0.5))


def sweat(cv, x, y, s=1.0):
    d = path(((x, y - 4 * s), (x + 2.6 * s, y + 0.5 * s), (x + 2.2 * s, y + 2.6 * s), (x, y + 2.9 * s)),
             ((x, y + 2.9 * s), (x - 2.2 * s, y + 2.6 * s), (x - 2.6 * s, y + 0.5 * s), (x, y - 4 * s)))
    m = poly(d)
    cv.part(m, SWEAT, out=hexc('#3a78b0'), ow=0.6)
    cv.fill(ell(x - 0.8 * s, y + 0.6 * s, 0.7 * s, 1.1 * s), WHITE)


def tear(cv, x, y):
    m = poly(path(((x, y), (x + 1.6, y + 2.4), (x + 1.2, y + 3.8), (x, y + 3.9)),
                  ((x, y + 3.9), (x - 1.2, y + 3.8), (x - 1.6, y + 2.4), (x, y))))
    cv.part(m, hexc('#b8e6ff'), out=hexc('#4a8ac0'), ow=0.5)


def zzz(cv, x, y, colour=WHITE, outline=(60, 60, 120)):
    """Three little z's drifting up-right."""
    for k, s in enumerate((3.0, 4.0, 5.2)):
        zx, zy = x + k * 5.0, y - k * 6.0
        wdt = 1.3 * s / 4 + 0.5
        m = union(poly(ribbon([(zx, zy), (zx + s, zy)], wdt)), poly(ribbon([(zx + s, zy), (zx, zy + s)], wdt)),
                  poly(ribbon([(zx, zy + s), (zx + s, zy + s)], wdt)))
        cv.part(m, colour, out=outline, ow=0.6)


def pain_marks(cv, x, y, colour=hexc('#ff4a5a')):
    """The four-bracket throb mark beside a hurt head."""
    m = blank()
    for qx in (-1, 1):
        for qy in (-1, 1):
            pts = bez((x + qx * 1.5, y + qy * 5.2), (x + qx * 1.9, y + qy * 1.9), (x + qx * 5.2, y + qy * 1.5), n=10)
            m = union(m, poly(ribbon(pts, 0.7, 0.7, 1.3)))
    cv.part(m, colour, out=dark(colour, 0.45), ow=0.35)


# mouths --------------------------------------------------------------

def mouth_open_smile(cv, y=55.0, w=9.0, h=5.0, x=45.0):
    m = poly(path(((x - w / 2, y), (x - w / 6, y + 0.8), (x + w / 6, y + 0.8), (x + w / 2, y)),
                  ((x + w / 2, y), (x + w / 3, y + h * 1.1), (x - w / 3, y + h * 1.1), (x - w / 2, y))))
    cv.part(m, MOUTH, out=dark(MOUTH, 0.5), ow=0.6)
    cv.fill(inter(m, ell(x, y + h * 1.05, w * 0.32, h * 0.48)), TONGUE)
    return m


def mouth_grin(cv, y=55.0, w=12.0, h=5.2, x=45.0):
    m = poly(path(((x - w / 2, y - 0.8), (x - w / 6, y + 0.6), (x + w / 6, y + 0.6), (x + w / 2, y - 0.8)),
                  ((x + w / 2, y - 0.8), (x + w / 3, y + h * 1.05), (x - w / 3, y + h * 1.05), (x - w / 2, y - 0.8))))
    cv.part(m, MOUTH, out=dark(MOUTH, 0.5), ow=0.6)
    cv.fill(inter(m, ell(x, y + h * 1.1, w * 0.28, h * 0.42)), TONGUE)
    teeth = inter(m, poly([(x - w, y - 3), (x + w, y - 3), (x + w, y + 1.9), (x - w, y + 1.9)]))
    cv.fill(teeth, WHITE)
    cv.fill(minus(teeth, shift(teeth, 0, -0.5)), hexc('#d8d0e0'))
    return m


def mouth_curve(cv, y=55.0, w=6.0, depth=1.6, x=45.0, colour=None, thick=1.0, tilt=0.0):
    colour = colour or dark(SKIN_OUT, 0.25)
    pts = bez((x - w / 2, y - tilt), (x - w / 4, y + depth), (x + w / 4, y + depth), (x + w / 2, y + tilt))
    cv.stroke(pts, thick * 0.5, colour, w1=thick * 0.5, wmid=thick)


def mouth_pain(cv, y=56.0, w=9.0, x=45.0):
    """Gritted teeth in a wavy grimace."""
    top = bez((x - w / 2, y + 0.5), (x - w / 4, y - 1.0), (x + w / 4, y + 0.8), (x + w / 2, y - 0.5))
    bot = bez((x + w / 2, y + 2.6), (x + w / 4, y + 3.8), (x - w / 4, y + 2.0), (x - w / 2, y + 3.2))
    m = poly(top + bot)
    cv.part(m, WHITE, out=dark(MOUTH, 0.4), ow=0.7)
    mid = bez((x - w / 2, y + 1.8), (x - w / 4, y + 1.2), (x + w / 4, y + 2.2), (x + w / 2, y + 1.2))
    cv.stroke(mid, 0.5, hexc('#9a90a8'))
    for k in (-1, 0, 1):
        cv.fill(inter(m, rect(x + k * w / 4 - 0.25, y - 2, x + k * w / 4 + 0.25, y + 5)), hexc('#b8b0c8'))


def mouth_sleep(cv, y=55.5, x=45.0, w=3.2):
    m = poly(path(((x - w / 2, y), (x - w / 4, y - 0.5), (x + w / 4, y - 0.5), (x + w / 2, y)),
                  ((x + w / 2, y), (x + w / 3, y + 1.9), (x - w / 3, y + 1.9), (x - w / 2, y))))
    cv.part(m, MOUTH, out=dark(MOUTH, 0.5), ow=0.5)
    cv.fill(inter(m, ell(x, y + 1.8, w * 0.3, 0.8)), TONGUE)


def mouth_small_o(cv, y=56.0, x=45.0, r=1.3):
    m = ell(x, y, r * 1.1, r)
    cv.part(m, MOUTH, out=dark(MOUTH, 0.5), ow=0.5)


# ---------------------------------------------------------------- backdrop emblems

def sparkle(x, y, r):
    pts = []
    for k in range(8):
        a = math.radians(45 * k - 90)
        rr = r if k % 2 == 0 else r * 0.28
        pts.append((x + math.cos(a) * rr, y + math.sin(a) * rr))
    return poly(pts)


def petal(x, y, r):
    a = math.radians((x * 37 + y * 11) % 180)
    pts = []
    for k in range(24):
        t = 2 * math.pi * k / 24
        px, py = math.cos(t) * r, math.sin(t) * r * 0.55 * (1 - 0.3 * math.cos(t))
        pts.append((x + px * math.cos(a) - py * math.sin(a), y + px * math.sin(a) + py * math.cos(a)))
    return poly(pts)


def coin(x, y, r):
    return union(minus(ell(x, y, r, r * 0.95), ell(x, y, r * 0.78, r * 0.74)), rect(x - r * 0.12, y - r * 0.45, x + r * 0.12, y + r * 0.45))


def note(x, y, r):
    head = poly([(x + math.cos(t) * r * 0.55 * math.cos(-0.4) - math.sin(t) * r * 0.38 * math.sin(-0.4),
                  y + math.cos(t) * r * 0.55 * math.sin(-0.4) + math.sin(t) * r * 0.38 * math.cos(-0.4))
                 for t in [2 * math.pi * k / 20 for k in range(20)]])
    stem = rect(x + r * 0.38, y - r * 1.7, x + r * 0.58, y)
    flag = poly(ribbon(bez((x + r * 0.48, y - r * 1.65), (x + r * 1.2, y - r * 1.2), (x + r * 1.0, y - r * 0.6), n=8), r * 0.3, r * 0.1))
    return union(head, stem, flag)


def cloud(x, y, r):
    return union(ell(x, y, r, r * 0.55), ell(x - r * 0.55, y + r * 0.1, r * 0.55, r * 0.42),
                 ell(x + r * 0.1, y - r * 0.3, r * 0.55, r * 0.5), ell(x + r * 0.7, y + r * 0.1, r * 0.5, r * 0.38))


def clover(x, y, r):
    return union(*[ell(x + math.cos(a) * r * 0.5, y + math.sin(a) * r * 0.5, r * 0.5, r * 0.5)
                   for a in (math.radians(-90), math.radians(30), math.radians(150))],
                 poly(ribbon([(x, y), (x + r * 0.4, y + r * 1.3)], r * 0.18)))


def sun(x, y, r):
    disc = ell(x, y, r, r)
    bars = union(*[rect(0, y + r * (0.25 + 0.18 * k), 90, y + r * (0.25 + 0.18 * k) + r * 0.06) for k in range(4)])
    return minus(disc, bars)


MOTIFS = {'sparkle': sparkle, 'petal': petal, 'coin': coin, 'note': note, 'cloud': cloud,
          'clover': clover, 'sun': sun}


# ---------------------------------------------------------------- hair helpers

def hair_part(cv, m, base, shade, light, hl_band=None, out=None):
    cv.part(m, base, out=out if out is not None else dark(base, 0.55), shade=shade, sd=(2.0, 1.6))
    if hl_band is not None:
        cv.fill(inter(m, hl_band), light)


def shine_band(cx, cy, rx, ry, th=1.6, a0=200, a1=340, teeth=7):
    """The glossy ring across the crown: an arc whose lower edge breaks into strands."""
    band = blank()
    d = ImageDraw.Draw(band)
    pts_out, pts_in = [], []
    steps = teeth * 6
    for k in range(steps + 1):
        t = math.radians(a0 + (a1 - a0) * k / steps)
        taper = math.sin(math.pi * k / steps) ** 0.6
        jag = 1.0 + (0.9 if (k % 6) in (2, 3) else 0.0)
        pts_out.append((cx + (rx + th * 0.5 * taper) * math.cos(t), cy + (ry + th * 0.5 * taper) * math.sin(t)))
        pts_in.append((cx + (rx - th * jag * taper) * math.cos(t), cy + (ry - th * jag * taper) * math.sin(t)))
    d.polygon([(x * S, y * S) for x, y in pts_out + pts_in[::-1]], fill=255)
    return band


def locks_mask(locks):
    ms = [poly(lock(r, t, w, b)) for (r, t, w, b) in locks]
    return union(*ms)


def shoulders(top_y=68.0, spread=1.0):
    """Bust outline from the neck line out to the picture's lower corners."""
    return path(((45 - 12 * spread, top_y), (45 - 30 * spread, top_y + 1), (45 - 42 * spread, top_y + 8), (-4, 92)),
                ((-4, 92), (94, 92)),
                ((94, 92), (45 + 42 * spread, top_y + 8), (45 + 30 * spread, top_y + 1), (45 + 12 * spread, top_y)))


# ================================================================ characters

class Look:
    """What sets one character's head apart; the drawing order is shared."""
    lash = (40, 22, 36)
    lashes = True
    eye_dx = 9.6
    eye_y = 44.5
    eye_w = 9.6
    eye_h = 11.0
    eye_tilt = 0.6
    eye_lid = 0.0
    iris = (0, 0, 0)
    brow_y = 33.8
    brow_w = 6.6
    brow_thick = 1.0
    chin = 62.0
    width = 1.0
    cheek = 1.0
    ears = False
    pain_eyes = 'squeeze'
    mouth_y = 54.5
    zzz_at = (66, 18)
    sweat_at = (66.5, 33)
    mark_at = (20, 12)
    blush = 0.4

    def backdrop(self, state):
        top, bottom, glow = self.sky
        return backdrop(top, bottom, glow=glow, night=(state == SLEEP))

    # hooks, each drawing one layer
    motifs = ()

    def motif(self, cv, state):
        """Faint emblems in the backdrop, kept above the label band."""
        for kind, x, y, r, a in self.motifs:
            m = MOTIFS[kind](x, y, r)
            cv.fill(m, WHITE, a * (0.7 if state == SLEEP else 1.0))

    def behind(self, cv, state):
        pass

    def body(self, cv, state):
        pass

    def fringe(self):
        return blank()

    def hair_colours(self):
        return self.hair

    def on_top(self, cv, state):
        pass

    def brow_colour(self):
        return dark(self.hair[0], 0.4)

    def nose(self, cv):
        cv.stroke(bez((45.6, 49.2), (46.2, 50.6), (45.0, 51.2), n=8), 0.4, mix(SKIN_OUT, SKIN, 0.35), w1=0.9)

    def normal(self, cv):
        for sx in (-1, 1):
            eye(cv, 45 + sx * self.eye_dx, self.eye_y, sx, self.iris, w=self.eye_w, h=self.eye_h,
                tilt=self.eye_tilt, lid=self.eye_lid, lash=self.lash, lashes=self.lashes)
        if self.blush:
            blush(cv, self.blush)

    def normal_brows(self, cv):
        for sx in (-1, 1):
            brow(cv, 45 + sx * self.eye_dx, self.brow_y, sx, self.brow_colour(), w=self.brow_w,
                 inner=0.0, outer=0.9, arch=1.3, thick=self.brow_thick)

    def sleep(self, cv):
        for sx in (-1, 1):
            eye_closed(cv, 45 + sx * self.eye_dx, self.eye_y + 1, sx, w=self.eye_w * 0.9,
                       lash=self.lash, lashes=self.lashes)
        if self.blush:
            blush(cv, self.blush * 0.8)
        mouth_sleep(cv, self.mouth_y + 0.6)

    def pain(self, cv):
        for sx in (-1, 1):
            cx = 45 + sx * self.eye_dx
            if self.pain_eyes == 'squeeze':
                eye_squeeze(cv, cx, self.eye_y + 0.5, sx, w=self.eye_w * 0.8, lash=self.lash)
            else:
                eye(cv, cx, self.eye_y + 0.6, sx, self.iris, w=self.eye_w, h=self.eye_h * 0.92,
                    tilt=-0.4, lid=0.42, lash=self.lash, lashes=self.lashes)
                tear(cv, cx + sx * self.eye_w * 0.3, self.eye_y + 4.2)
        mouth_pain(cv, self.mouth_y + 0.5, 8.0)

    def pain_brows(self, cv):
        for sx in (-1, 1):
            brow(cv, 45 + sx * self.eye_dx, self.brow_y + 0.8, sx, self.brow_colour(), w=self.brow_w,
                 inner=-1.8, outer=1.0, arch=0.5, thick=self.brow_thick)

    def draw(self, state):
        cv = Canvas(self.backdrop(state))
        self.motif(cv, state)
        self.behind(cv, state)
        self.body(cv, state)
        f = draw_face(cv, chin=self.chin, width=self.width, cheek=self.cheek, ears=self.ears)
        self.face = f
        fr = self.fringe()
        hair_under_shadow(cv, f, fr)
        self.nose(cv)
        if state == NORMAL:
            self.normal(cv)
        elif state == SLEEP:
            self.sleep(cv)
        else:
            self.pain(cv)
        base, shade, light = self.hair_colours()
        hair_part(cv, fr, base, shade, light, hl_band=self.shine())
        self.strands(cv, fr, shade)
        if state == NORMAL:
            self.normal_brows(cv)
        elif state == PAIN:
            self.pain_brows(cv)
        self.on_top(cv, state)
        if state == SLEEP:
            zzz(cv, *self.zzz_at)
        elif state == PAIN:
            sweat(cv, *self.sweat_at, 1.1)
            pain_marks(cv, *self.mark_at)
        return cv.final()

    def shine(self):
        return shine_band(45, 30, 17.5, 16.5, 1.4, 205, 335, 6)

    strand_xs = (31, 38, 45, 52, 59)
    strand_y = 33.0

    def strands(self, cv, fr, shade):
        """Thin lines from the crown down into the fringe, so the hair reads as hair."""
        inside = minus(fr, grow(minus(rect(-5, -5, 95, 95), fr), 1.2))
        for x in self.strand_xs:
            top = (45 + (x - 45) * 0.35, 13.0)
            end = (x + (x - 45) * 0.12, self.strand_y)
            ctrl = ((top[0] + end[0]) / 2 + (x - 45) * 0.15, (top[1] + end[1]) / 2)
            m = poly(ribbon(bez(top, ctrl, end, n=10), 0.2, 0.2, 0.9))
            cv.fill(inter(m, inside), shade)


# -- 0: the cheerful girl in the lemon cape -----------------------------

class Meg(Look):
    hair = (hexc('#f57aa3'), hexc('#d2558a'), hexc('#ffc2d6'))
    sky = (hexc('#9ae6df'), hexc('#3fa6ae'), hexc('#eafff9'))
    motifs = (('sparkle', 9, 12, 4.5, 0.75), ('sparkle', 81, 42, 3.5, 0.6), ('sparkle', 13, 47, 2.6, 0.55),
              ('sparkle', 78, 9, 2.4, 0.5), ('sparkle', 6, 30, 1.8, 0.5))
    iris = hexc('#3ccf5e')
    lash = hexc('#4a1e34')
    eye_tilt = -0.3
    chin = 61.5
    cheek = 1.02

    def behind(self, cv, state):
        hair, hsh, hli = self.hair
        back = poly(path(((45, 9), (20, 9), (19, 38), (21, 56)),
                         ((21, 56), (18, 62), (15, 66), (20, 67)),
                         ((20, 67), (27, 67), (33, 62), (33, 56)),
                         ((33, 56), (45, 60), (57, 56)),
                         ((57, 56), (57, 62), (63, 67), (70, 67)),
                         ((70, 67), (75, 66), (72, 62), (69, 56)),
                         ((69, 56), (71, 38), (70, 9), (45, 9))))
        hair_part(cv, back, hsh, dark(hsh, 0.2), hli)
        # the two little bunches, high on the sides
        for sx in (-1, 1):
            bx = 45 + sx * 22
            bun = union(poly(lock((bx + sx * 1.5, 24), (bx + sx * 9, 45), 4.2, sx * 2.6)),
                        ell(bx + sx * 3.5, 30, 4.4, 5.6))
            hair_part(cv, bun, hair, hsh, hli)
            cv.fill(inter(bun, poly(lock((bx + sx * 2.5, 27), (bx + sx * 6.5, 38), 0.9, sx * 1))), hli)

    def body(self, cv, state):
        # hood lying folded behind the neck
        hood = poly(path(((45, 60), (30, 59), (23, 66), (26, 72)), ((26, 72), (45, 70), (64, 72)),
                         ((64, 72), (67, 66), (60, 59), (45, 60))))
        cv.part(hood, hexc('#e8bb2c'), out=hexc('#8a5a14'), shade=hexc('#c8921c'), sd=(1.5, 1.5))
        neck(cv, 52, 72)
        cape = poly(shoulders(69, 1.0))
        cv.part(cape, hexc('#f2cf3c'), out=hexc('#8a5a14'), shade=hexc('#d8a62a'), sd=(3, 2))
        fold = [((30, 74), (26, 90)), ((60, 74), (64, 90))]
        for a, b in fold:
            cv.stroke(bez(a, ((a[0] + b[0]) / 2 + 1, (a[1] + b[1]) / 2), b, n=8), 0.3, hexc('#c8921c'), w1=1.2)
        # round white blouse collar at the throat
        for sx in (-1, 1):
            flap = path(((45, 71.6), (42, 69.4), (38.4, 69.2), (37.6, 71.8)),
                        ((37.6, 71.8), (37.6, 75.2), (42, 75.8), (45, 71.6)))
            cv.part(poly(flap if sx < 0 else mirror(flap)), hexc('#fdfdf8'), out=hexc('#8a8296'), ow=0.7,
                    shade=hexc('#dcdcea'), sd=(0.7, 0.7))
        cv.part(ell(45, 72.4, 1.6, 1.4), hexc('#ff8a3a'), out=hexc('#8a3a10'), ow=0.5)
        # cord and gold star charm, low so the label band stays quiet
        for sx in (-1, 1):
            cv.stroke(bez((45 + sx * 4.5, 73), (45 + sx * 3.5, 81), (45, 84.5)), 0.5, hexc('#8a5a20'))
        star = []
        for k in range(10):
            a = math.radians(-90 + 36 * k)
            r = 3.4 if k % 2 == 0 else 1.5
            star.append((45 + math.cos(a) * r, 86.6 + math.sin(a) * r))
        cv.part(poly(star), hexc('#ffd83a'), out=hexc('#8a5a10'), ow=0.6, shade=hexc('#e0a020'), sd=(0.8, 0.8))

    def fringe(self):
        cap = inter(ell(45, 30, 22.5, 21.5), rect(0, 0, 90, 31))
        return union(cap, locks_mask([
            ((30, 22), (27.5, 39), 5.0, -1.2), ((37, 22), (35, 36), 4.4, -0.6), ((43, 22), (42.5, 35), 4.0, 0.0),
            ((49, 22), (50.5, 36), 4.4, 0.6), ((55, 22), (57, 37), 4.4, 1.0), ((61, 22), (63, 39), 4.4, 1.2),
            ((26.5, 30), (25.5, 56), 3.2, -1.2), ((63.5, 30), (64.5, 56), 3.2, 1.2)]))

    def normal(self, cv):
        Look.normal(self, cv)
        mouth_open_smile(cv, y=54.0, w=8.4, h=4.8)

    def on_top(self, cv, state):
        for sx in (-1, 1):
            bx, by = 45 + sx * 21.5, 22.5
            for a in (-1, 1):
                wing = poly([(bx, by), (bx + a * 4.6, by - 3.4 + sx * a * 0.6), (bx + a * 4.2, by + 3.2)])
                cv.part(wing, hexc('#ffe24a'), out=hexc('#a0701a'), ow=0.6, shade=hexc('#e0b020'), sd=(0.8, 0.8))
            cv.part(ell(bx, by, 1.6, 1.7), hexc('#ffd020'), out=hexc('#a0701a'), ow=0.6)


# -- 1: the haughty dancer ------------------------------------------------

class Jarte(Look):
    hair = (hexc('#7a44b0'), hexc('#552a88'), hexc('#b48ae0'))
    sky = (hexc('#ffd58a'), hexc('#d08a3a'), hexc('#fff2cc'))
    motifs = (('petal', 8, 10, 3.2, 0.45), ('petal', 82, 34, 3.0, 0.4), ('petal', 7, 52, 2.6, 0.35),
              ('petal', 84, 6, 2.4, 0.4))
    iris = hexc('#f0a418')
    lash = hexc('#2a1030')
    eye_dx = 9.4
    eye_w = 10.0
    eye_h = 8.4
    eye_tilt = 1.6
    eye_lid = 0.22
    eye_y = 45.0
    chin = 63.5
    width = 0.94
    cheek = 0.98
    brow_y = 37.0
    brow_w = 8.4
    brow_thick = 1.2
    pain_eyes = 'teary'
    blush = 0.22
    mouth_y = 55.5
    zzz_at = (68, 16)
    sweat_at = (27, 32)
    mark_at = (70, 10)

    def brow_colour(self):
        return hexc('#3a1a50')

    def behind(self, cv, state):
        base, shade, light = self.hair
        # long wavy hair falling behind the shoulders to the foot of the picture
        wav = []
        for k in range(7):
            y = 34 + k * 8.5
            wav.append((13 - (3 if k % 2 else 0) - k * 0.8, y))
        pts = path(((45, 7), (24, 6), (17, 20), (17, 32)))
        for k, (x, y) in enumerate(wav):
            pts += bez(pts[-1], (x - 3, y - 4), (x, y), n=6)[1:]
        pts += [(6, 92), (84, 92)]
        wr = [(90 - x, y) for x, y in wav][::-1]
        for x, y in wr:
            pts += bez(pts[-1], (x + 3, y + 4), (x, y), n=6)[1:]
        pts += bez((73, 32), (73, 20), (66, 6), (45, 7))
        back = poly(pts)
        hair_part(cv, back, shade, dark(shade, 0.25), light)
        for x0 in (18, 22, 68, 72):
            cv.stroke(bez((x0, 40), (x0 + 3, 52), (x0 - 3, 64), (x0 + 1, 80)), 0.4, dark(shade, 0.35), w1=0.9)

    def body(self, cv, state):
        neck(cv, 52, 74, 5.2)
        # bare shoulders
        sk = poly(path(((38, 68), (28, 69), (14, 72), (6, 84)), ((6, 84), (4, 92), (86, 92), (84, 84)),
                       ((84, 84), (76, 72), (62, 69), (52, 68))))
        cv.part(sk, SKIN, out=SKIN_OUT)
        cv.fill(inter(sk, ell(45, 70, 10, 4)), SKIN_SH)
        for sx in (-1, 1):
            cv.stroke(bez((45 + sx * 6, 75.5), (45 + sx * 11, 74.5), (45 + sx * 16, 76)), 0.3, SKIN_SH, w1=0.9)
        # crimson bodice with its gold trim
        bod = poly(path(((2, 92), (6, 78), (16, 75), (28, 76)), ((28, 76), (37, 75), (42, 78.5), (45, 80)),
                        ((45, 80), (48, 78.5), (53, 75), (62, 76)), ((62, 76), (74, 75), (84, 78), (88, 92))))
        cv.part(bod, hexc('#cc2c44'), out=hexc('#5a0818'), shade=hexc('#a01c32'), sd=(2, 1.5))
        trim = minus(bod, shift(bod, 0, 1.5))
        cv.fill(trim, hexc('#f2c040'))
        # long locks falling in front of the shoulders
        base, shade, light = self.hair
        for sx in (-1, 1):
            lk = poly(lock((45 + sx * 17, 40), (45 + sx * 24, 76), 4.4, sx * 3.0))
            hair_part(cv, lk, base, shade, light)

    def fringe(self):
        cap = inter(ell(45, 30, 21.5, 22), rect(0, 0, 90, 30))
        return union(cap, locks_mask([
            ((40, 20), (26, 42), 6.5, -4.0), ((33, 22), (24.5, 48), 4.0, -2.0), ((36, 16), (23.5, 32), 5.0, -2.0), ((47, 20), (37, 35), 5.0, -2.0),
            ((52, 20), (50, 33), 4.0, 1.0), ((58, 21), (63, 38), 4.5, 2.0), ((64, 26), (66.5, 52), 3.2, 2.5)]))

    def shine(self):
        return shine_band(45, 29, 17.0, 16.5, 1.3, 210, 330, 6)

    def normal(self, cv):
        Look.normal(self, cv)
        self.lips(cv, smug=True)

    def lips(self, cv, smug):
        y = self.mouth_y
        red = hexc('#d4283e')
        lo = poly(path(((41.5, y), (43, y + 2.0), (47, y + 2.0), (49.5, y - 0.6)), ((49.5, y - 0.6), (46, y + 0.2), (42.5, y + 0.2), (41.5, y))))
        cv.part(lo, red, out=hexc('#7a1020'), ow=0.5)
        cv.stroke(bez((41, y + 0.1), (44, y + 0.6), (47, y + 0.2), (50.2, y - 1.4)), 0.7, hexc('#6a1020'), w1=0.9, wmid=1.1)
        cv.fill(ell(45.2, y + 1.2, 1.2, 0.4), hexc('#ff9aa8'))

    def normal_brows(self, cv):
        # one brow raised: the haughty look
        brow(cv, 45 - self.eye_dx, self.brow_y + 0.6, -1, self.brow_colour(), w=self.brow_w, inner=0.6, outer=0.6, arch=1.6, thick=1.2)
        brow(cv, 45 + self.eye_dx, self.brow_y - 1.8, 1, self.brow_colour(), w=self.brow_w, inner=0.8, outer=0.8, arch=2.6, thick=1.2)

    def on_top(self, cv, state):
        # red flower clip over her right temple
        fx, fy = 63, 22
        for k in range(5):
            a = math.radians(-90 + 72 * k)
            cv.part(ell(fx + math.cos(a) * 2.6, fy + math.sin(a) * 2.6, 2.4, 2.4), hexc('#e8283c'),
                    out=hexc('#6a0818'), ow=0.5, shade=hexc('#b01428'), sd=(0.6, 0.6))
        cv.part(ell(fx, fy, 1.4, 1.4), hexc('#ffd040'), out=hexc('#8a5010'), ow=0.4)


# -- 2: the quiet swordsman ----------------------------------------------

class Yamamoto(Look):
    hair = (hexc('#2c2c3e'), hexc('#17172a'), hexc('#5a6290'))
    sky = (hexc('#f0a890'), hexc('#b04a48'), hexc('#ffe0c8'))
    motifs = (('sun', 45, 34, 33, 0.16),)
    iris = hexc('#5c6274')
    lash = hexc('#18141e')
    lashes = False
    eye_dx = 9.2
    eye_w = 9.2
    eye_h = 7.2
    eye_tilt = 1.0
    eye_lid = 0.18
    eye_y = 45.5
    chin = 63.0
    width = 0.97
    cheek = 0.97
    brow_y = 38.4
    brow_w = 8.6
    brow_thick = 1.7
    pain_eyes = 'teary'
    blush = 0.0
    ears = True
    mouth_y = 56.0
    zzz_at = (67, 20)
    sweat_at = (66.5, 36)
    mark_at = (20, 14)

    def brow_colour(self):
        return hexc('#1a1824')

    def behind(self, cv, state):
        base, shade, light = self.hair
        # high short ponytail standing up behind the crown
        tail = union(poly(lock((52, 12), (70, 2), 5.0, -2.5)), poly(lock((53, 13), (75, 9), 3.6, -1.0)),
                     poly(lock((52, 11), (62, -2), 3.6, -1.0)))
        hair_part(cv, tail, base, shade, light)
        back = poly(path(((45, 9), (22, 8), (23, 40), (25, 54)), ((25, 54), (45, 58), (65, 54)),
                         ((65, 54), (67, 40), (68, 8), (45, 9))))
        hair_part(cv, back, shade, dark(shade, 0.2), light)
        # headband tails fluttering behind
        for k, (tip, bend) in enumerate((((80, 36), 3.0), ((76, 42), -2.0))):
            cv.part(poly(lock((64, 25 + k), tip, 1.3, bend)), WHITE, out=hexc('#6a6a80'), ow=0.6, shade=hexc('#d0d0e0'))

    def body(self, cv, state):
        neck(cv, 52, 74, 6.0)
        jacket = poly(shoulders(68, 1.05))
        cv.part(jacket, hexc('#3c4aa0'), out=hexc('#141a40'), shade=hexc('#2a3578'), sd=(3, 2))
        # crossed white collar of the jacket
        inner = poly([(38.4, 67), (51.6, 67), (45, 82)])
        cv.part(inner, hexc('#1e2242'), out=hexc('#0e1024'), ow=0.6)
        for sx in (-1, 1):
            c = poly([(45 - sx * 7.4, 66.5), (45 - sx * 10.5, 67.5), (45 + sx * 2, 88), (45 + sx * 4.5, 84)])
            cv.part(c, hexc('#f4f4f8'), out=hexc('#6a6a80'), ow=0.7, shade=hexc('#cfd0de'))
        cv.stroke([(45, 82), (45, 92)], 0.8, hexc('#141a40'))

    def fringe(self):
        cap = inter(ell(45, 30, 21.5, 21.5), rect(0, 0, 90, 29))
        return union(cap, locks_mask([
            ((42, 20), (31, 50), 6.5, -2.5),            # the long lock over his right eye
            ((34, 22), (26, 44), 4.0, -1.5), ((48, 21), (45, 38), 4.0, 0.5),
            ((54, 21), (56, 37), 4.0, 1.0), ((60, 22), (64, 38), 3.8, 1.5),
            ((64, 28), (65.5, 50), 2.8, 1.5), ((27, 28), (25.5, 48), 2.8, -1.0)]))

    def shine(self):
        return shine_band(45, 30, 17.0, 16.5, 1.2, 215, 330, 6)

    def normal(self, cv):
        Look.normal(self, cv)
        cv.stroke([(42.2, self.mouth_y), (47.8, self.mouth_y)], 0.95, hexc('#6a3430'))

    def normal_brows(self, cv):
        for sx in (-1, 1):
            brow(cv, 45 + sx * self.eye_dx, self.brow_y, sx, self.brow_colour(), w=self.brow_w,
                 inner=0.6, outer=-0.4, arch=0.4, thick=self.brow_thick)

    def sleep(self, cv):
        for sx in (-1, 1):
            eye_closed(cv, 45 + sx * self.eye_dx, self.eye_y, sx, w=self.eye_w * 0.85, lash=self.lash, lashes=False)
        cv.stroke(bez((42.5, self.mouth_y), (45, self.mouth_y + 0.8), (47.5, self.mouth_y)), 0.7, hexc('#8a4a44'))

    def on_top(self, cv, state):
        # thin white headband across the brow; a few locks spill over it
        band = inter(poly(ribbon(bez((23, 28), (45, 20), (67, 28)), 2.2)), grow(ell(45, 30, 22, 22), 0.6))
        cv.part(band, WHITE, out=hexc('#6a6a80'), ow=0.6, shade=hexc('#d0d0e0'), sd=(0.5, 0.7))
        base, shade, light = self.hair
        over = locks_mask([((40, 18), (31, 50), 5.0, -2.5), ((33, 20), (27, 42), 3.0, -1.5)])
        hair_part(cv, over, base, shade, light)
        self.strands_over(cv, over, shade)

    def strands_over(self, cv, m, shade):
        for a, b in (((39, 20), (33, 44)),):
            cv.fill(inter(poly(ribbon(bez(a, ((a[0] + b[0]) / 2 - 1, (a[1] + b[1]) / 2), b, n=8), 0.2, 0.2, 0.8)), m), shade)


# -- 3: the prankster -----------------------------------------------------

class Chams(Look):
    hair = (hexc('#f58a24'), hexc('#cc5a14'), hexc('#ffcf7a'))
    sky = (hexc('#a8d8ff'), hexc('#3f86d6'), hexc('#f0fbff'))
    motifs = (('cloud', 10, 52, 7, 0.5), ('cloud', 82, 56, 6, 0.45))
    iris = hexc('#9a5828')
    lash = hexc('#3a1a10')
    lashes = False
    eye_dx = 9.8
    eye_w = 9.4
    eye_h = 10.0
    eye_tilt = 0.2
    eye_lid = 0.12
    chin = 61.5
    cheek = 1.03
    ears = True
    blush = 0.3
    brow_thick = 1.6
    zzz_at = (67, 20)
    sweat_at = (67.5, 34)

    def behind(self, cv, state):
        base, shade, light = self.hair
        spikes = [((45, 20), (45, 0), 6), ((38, 20), (28, 2), 6), ((52, 20), (62, 2), 6), ((30, 24), (14, 12), 6),
                  ((60, 24), (76, 12), 6), ((27, 32), (14, 32), 5), ((63, 32), (77, 30), 5)]
        m = union(ell(45, 28, 21, 19), *[poly(lock(r, t, w, 0)) for r, t, w in spikes])
        hair_part(cv, m, shade, dark(shade, 0.2), light)

    def body(self, cv, state):
        neck(cv, 52, 72, 5.6)
        tunic = poly(shoulders(68.5, 0.98))
        cv.part(tunic, hexc('#4ea84a'), out=hexc('#1a4a1c'), shade=hexc('#37843a'), sd=(3, 2))
        v = poly([(39, 68), (51, 68), (45, 77)])
        cv.part(v, SKIN, out=hexc('#1a4a1c'), ow=0.8)
        cv.fill(inter(v, rect(0, 67, 90, 71)), SKIN_SH)
        # satchel strap over his shoulder
        strap = poly([(24, 69), (29.5, 69), (70, 92), (63, 92)])
        cv.part(strap, hexc('#9a6432'), out=hexc('#4a2a10'), ow=0.7, shade=hexc('#7a4a22'), sd=(0.8, 0.8))

    def fringe(self):
        cap = inter(ell(45, 30, 21.5, 21), rect(0, 0, 90, 30))
        return union(cap, locks_mask([
            ((30, 24), (23, 38), 5.0, -1.0), ((36, 22), (31.5, 38), 4.5, 0.5), ((42, 22), (40, 36.5), 4.2, -0.5),
            ((48, 22), (49.5, 37.5), 4.2, 0.5), ((54, 22), (58, 36), 4.4, -0.5), ((60, 23), (67, 38), 5.0, 1.0),
            ((56, 14), (66, 6), 3.6, 0.0)]))

    def normal(self, cv):
        Look.normal(self, cv)
        mouth_grin(cv, y=54.0, w=12.0, h=5.0)
        self.freckles(cv)

    def freckles(self, cv):
        for x, y in ((39.5, 50.3), (37.4, 51.6), (40.6, 52.2), (50.5, 50.3), (52.6, 51.6)):
            cv.fill(ell(x, y, 0.55, 0.5), hexc('#d08a5a'))

    def sleep(self, cv):
        Look.sleep(self, cv)
        self.freckles(cv)

    def pain(self, cv):
        Look.pain(self, cv)
        self.freckles(cv)

    def normal_brows(self, cv):
        # mischief: one brow cocked
        brow(cv, 45 - self.eye_dx, self.brow_y + 0.4, -1, self.brow_colour(), w=7, inner=1.0, outer=-0.4, arch=0.8, thick=1.6)
        brow(cv, 45 + self.eye_dx, self.brow_y - 0.8, 1, self.brow_colour(), w=7, inner=0.6, outer=0.6, arch=1.6, thick=1.6)

    def on_top(self, cv, state):
        # sticking plaster on his left cheek
        x, y = 57.5, 52.5
        pl = poly(ribbon([(x - 3.6, y + 1.3), (x + 3.6, y - 1.3)], 2.8))
        cv.part(pl, hexc('#f6d9b0'), out=hexc('#a07850'), ow=0.5)
        cv.fill(poly(ribbon([(x - 1.1, y + 0.4), (x + 1.1, y - 0.4)], 2.0)), hexc('#e8bd8e'))


# -- 4: the strong, gentle merchant's boy -----------------------------------

class Pau(Look):
    hair = (hexc('#d9b274'), hexc('#b08848'), hexc('#f4dca8'))
    sky = (hexc('#ffc6d2'), hexc('#cc6e8c'), hexc('#fff0f4'))
    motifs = (('coin', 10, 12, 4.0, 0.4), ('coin', 80, 44, 3.6, 0.35), ('coin', 9, 46, 3.0, 0.3),
              ('coin', 82, 12, 2.8, 0.3))
    iris = hexc('#6a4a2e')
    lash = hexc('#3a2414')
    lashes = False
    eye_dx = 9.4
    eye_w = 7.0
    eye_h = 7.6
    eye_tilt = -0.4
    eye_y = 45.5
    chin = 61.8
    width = 1.03
    cheek = 1.05
    ears = True
    blush = 0.5
    brow_y = 38.5
    brow_w = 6.6
    brow_thick = 1.3
    pain_eyes = 'teary'
    mouth_y = 55.0

    def behind(self, cv, state):
        back = poly(path(((45, 10), (23, 10), (23, 40), (25, 50)), ((25, 50), (45, 54), (65, 50)),
                         ((65, 50), (67, 40), (67, 10), (45, 10))))
        hair_part(cv, back, self.hair[1], dark(self.hair[1], 0.2), self.hair[2])
        # knot and tails of the bandana at the back
        for tip, bend in (((76, 30), 1.5), ((74, 37), -1.5)):
            cv.part(poly(lock((65, 22), tip, 2.2, bend)), hexc('#3a6ad0'), out=hexc('#142a6a'), shade=hexc('#2a4ea8'))

    def body(self, cv, state):
        neck(cv, 52, 72, 6.2)
        shirt = poly(shoulders(68.5, 1.0))
        cv.part(shirt, hexc('#f0e4c4'), out=hexc('#6a5a3a'), shade=hexc('#d8c8a0'), sd=(2, 2))
        for sx in (-1, 1):
            c = poly([(45 + sx * 6.6, 67.6), (45 + sx * 10.5, 70), (45 + sx * 6, 75), (45 + sx * 0.4, 72)])
            cv.part(c, hexc('#fff8e4'), out=hexc('#6a5a3a'), ow=0.7, shade=hexc('#e4d6b4'), sd=(0.6, 0.6))
        for sx in (-1, 1):
            vest = poly([(45 + sx * 11, 70.5), (45 + sx * 30, 73), (45 + sx * 40, 80), (45 + sx * 44, 92),
                         (45 + sx * 7, 92), (45 + sx * 8.5, 78)])
            cv.part(vest, hexc('#8a5a32'), out=hexc('#3a2010'), shade=hexc('#6a4224'), sd=(1.8, 1.4))
        cv.fill(ell(45 - 3, 85, 0.8, 0.8), hexc('#c89a60'))

    def fringe(self):
        cap = inter(ell(45, 30, 21.5, 21), rect(0, 0, 90, 30))
        return union(cap, locks_mask([
            ((33, 26), (29, 39), 4.4, -0.5), ((39, 26), (37, 38), 4.2, -0.3), ((45, 26), (44.5, 37.5), 4.2, 0),
            ((51, 26), (52.5, 38), 4.2, 0.3), ((57, 26), (60.5, 39), 4.4, 0.5),
            ((25.5, 30), (25.5, 45), 3.0, -0.5), ((64.5, 30), (64.5, 45), 3.0, 0.5)]))

    strand_xs = (33, 39, 45, 51, 57)

    def shine(self):
        return None

    def normal(self, cv):
        Look.normal(self, cv)
        mouth_curve(cv, y=self.mouth_y, w=5.6, depth=1.8, thick=1.0)

    def normal_brows(self, cv):
        for sx in (-1, 1):
            brow(cv, 45 + sx * self.eye_dx, self.brow_y, sx, self.brow_colour(), w=self.brow_w,
                 inner=-0.4, outer=0.8, arch=0.9, thick=self.brow_thick)

    def on_top(self, cv, state):
        # blue bandana snug over the crown
        band = poly(path(((22.2, 31), (20.5, 3), (69.5, 3), (67.8, 31)), ((67.8, 31), (56, 25), (34, 25), (22.2, 31))))
        cv.part(band, hexc('#3a6ad0'), out=hexc('#142a6a'), shade=hexc('#2a4ea8'), sd=(2, 1.5))
        cv.fill(minus(band, shift(band, 0, -1.4)), hexc('#2a4ea8'))
        # the cloth's folds
        for a, b in (((30, 27), (36, 12)), ((58, 26), (54, 11))):
            cv.fill(inter(band, poly(ribbon(bez(a, ((a[0] + b[0]) / 2 + 1, (a[1] + b[1]) / 2), b, n=8), 0.3, 0.3, 1.0))),
                    hexc('#2a4ea8'))
        cv.fill(inter(band, poly(ribbon(bez((30, 14), (40, 9), (52, 10)), 1.6))), hexc('#7aa0ff'))


# -- 5: the little animal ---------------------------------------------------

FUR, FUR_SH, FUR_OUT = hexc('#fff8ea'), hexc('#e8d6b6'), hexc('#8a6a4a')


class Chokkun(Look):
    sky = (hexc('#b8e890'), hexc('#5aa050'), hexc('#f4ffe0'))
    motifs = (('clover', 10, 10, 4.5, 0.4), ('clover', 12, 40, 3.2, 0.3), ('clover', 80, 24, 3.2, 0.35))

    def draw(self, state):
        cv = Canvas(self.backdrop(state))
        self.motif(cv, state)
        # bushy tail peeking out behind, curling up on the right
        tail = poly(path(((58, 74), (78, 78), (88, 60), (80, 44)), ((80, 44), (76, 38), (70, 44), (74, 50)),
                         ((74, 50), (78, 60), (70, 68), (58, 66))))
        cv.part(tail, FUR, out=FUR_OUT, shade=FUR_SH, sd=(2.4, 2.0))
        for x0, y0 in ((76, 48), (80, 58)):
            cv.stroke(bez((x0, y0), (x0 + 1, y0 + 2), (x0 - 1, y0 + 4), n=6), 0.3, FUR_SH, w1=0.8)
        # ears: up when awake, drooping asleep, flattened back in pain
        if state == NORMAL:
            ears = [((36, 30), (28, 2), 5.0, -1.5), ((54, 30), (62, 2), 5.0, 1.5)]
        elif state == SLEEP:
            ears = [((35, 30), (9, 37), 4.8, 4.5), ((55, 30), (81, 37), 4.8, -4.5)]
        else:
            ears = [((35, 30), (10, 16), 4.6, 2.5), ((55, 30), (80, 16), 4.6, -2.5)]
        for r, t, w, b in ears:
            em = poly(lock(r, t, w, b))
            cv.part(em, FUR, out=FUR_OUT, shade=FUR_SH, sd=(1.5, 1.5))
            inner = poly(lock((r[0] + (t[0] - r[0]) * 0.12, r[1] + (t[1] - r[1]) * 0.12), (r[0] + (t[0] - r[0]) * 0.8, r[1] + (t[1] - r[1]) * 0.8), w * 0.45, b * 0.6))
            cv.fill(inter(inner, em), hexc('#ffc6cc'))
            tipm = inter(em, ell(t[0], t[1], 9.5, 9.5))
            cv.fill(tipm, hexc('#9a6438'))
            cv.fill(minus(tipm, shift(tipm, -1.4, -1.4)), hexc('#7a4a28'))
        # round fluffy body and head in one: scalloped fur edge
        body = ell(45, 56, 28, 27)
        tufts = [poly(lock((45 + math.cos(a) * 24, 56 + math.sin(a) * 23), (45 + math.cos(a) * 31, 56 + math.sin(a) * 30), 4.0, 1.5))
                 for a in [math.radians(d) for d in range(150, 400, 24)]]
        fur = union(body, *tufts)
        cv.part(fur, FUR, out=FUR_OUT, shade=FUR_SH, sd=(3.0, 2.6))
        # forehead tuft
        cv.part(union(poly(lock((43, 34), (39.5, 26.5), 2.0, -1.2)), poly(lock((45.5, 34), (46, 25), 2.0, 0.6)),
                      poly(lock((48, 34), (51.5, 27.5), 1.8, 1.2))), FUR, out=FUR_OUT, shade=FUR_SH, sd=(0.8, 0.8))
        # the lower body turns away from the light
        cv.fill(inter(fur, ell(45, 88, 34, 20)), FUR_SH, 0.55)
        # small paws
        for sx in (-1, 1):
            p = ell(45 + sx * 9, 81.5, 5.0, 3.6)
            cv.part(p, FUR, out=FUR_OUT, shade=FUR_SH, sd=(1.0, 1.0))
            for k in (-1, 1):
                cv.stroke([(45 + sx * 9 + k * 1.6, 80.5), (45 + sx * 9 + k * 1.6, 82.6)], 0.5, FUR_OUT)
        ey = 50.0
        if state == NORMAL:
            for sx in (-1, 1):
                e = ell(45 + sx * 11, ey, 5.0, 5.6)
                cv.part(e, hexc('#1a1418'), out=hexc('#1a1418'), ow=0.3)
                cv.fill(inter(e, ell(45 + sx * 11, ey + 2.6, 3.6, 2.4)), hexc('#3a3040'))
                cv.fill(ell(45 + sx * 11 - 1.8, ey - 2.2, 1.9, 1.8), WHITE)
                cv.fill(ell(45 + sx * 11 + 1.8, ey + 2.2, 0.8, 0.8), WHITE)
            blush(cv, 0.45, y=57.5, dx=17, rx=4.0, ry=2.0)
            mouth = bez((42.6, 59.6), (43.8, 61), (45, 59.6), n=8) + bez((45, 59.6), (46.2, 61), (47.4, 59.6), n=8)[1:]
            cv.stroke(mouth, 0.7, FUR_OUT)
        elif state == SLEEP:
            for sx in (-1, 1):
                eye_closed(cv, 45 + sx * 11, ey, sx, w=7.5, lash=hexc('#2a2024'), lashes=False)
            blush(cv, 0.4, y=57.5, dx=17, rx=4.0, ry=2.0)
            cv.part(ell(45, 61, 1.2, 1.0), hexc('#8e2c3c'), out=FUR_OUT, ow=0.4)
            # a snot bubble: the classic sign of deep sleep
            cv.part(ell(51.5, 58, 3.0, 3.0), hexc('#d8f2ff'), out=hexc('#6aa0c8'), ow=0.5)
            cv.fill(ell(50.6, 57, 0.9, 0.9), WHITE)
        else:
            for sx in (-1, 1):
                eye_squeeze(cv, 45 + sx * 11, ey, sx, w=7.5, lash=hexc('#1a1418'))
            mouth_small_o(cv, 61, r=1.8)
        # tiny pink nose
        cv.part(poly([(43.4, 56.4), (46.6, 56.4), (45, 58.2)]), hexc('#ff8aa0'), out=hexc('#a04060'), ow=0.4)
        if state == SLEEP:
            zzz(cv, 66, 22)
        elif state == PAIN:
            sweat(cv, 68, 38, 1.2)
            pain_marks(cv, 22, 38)
            for sx in (-1, 1):
                cv.fill(ell(45 + sx * 17, 57.5, 3, 1.6), hexc('#a0c8ff'), 0.5)
        return cv.final()


# -- 6: the singer with the mint hair ----------------------------------------

class SeedPearl(Look):
    hair = (hexc('#9fe3c4'), hexc('#62bb98'), hexc('#e0fff2'))
    sky = (hexc('#cbc4ff'), hexc('#7a6cd0'), hexc('#f4f0ff'))
    motifs = (('note', 10, 14, 3.6, 0.55), ('note', 82, 40, 3.0, 0.45), ('note', 8, 50, 2.6, 0.4))
    iris = hexc('#4f92e6')
    lash = hexc('#243a5a')
    eye_dx = 9.5
    eye_w = 9.8
    eye_h = 10.0
    eye_tilt = -0.9
    eye_lid = 0.46
    eye_y = 45.0
    chin = 62.5
    width = 0.97
    brow_y = 36.2
    pain_eyes = 'teary'
    blush = 0.38
    mouth_y = 55.2
    zzz_at = (10, 24)
    sweat_at = (67, 34)
    mark_at = (19, 14)

    def behind(self, cv, state):
        base, shade, light = self.hair
        back = poly(path(((45, 7), (22, 7), (18, 30), (18, 50)), ((18, 50), (17, 70), (15, 84), (13, 92)),
                         ((13, 92), (77, 92)), ((77, 92), (75, 84), (73, 70), (72, 50)),
                         ((72, 50), (72, 30), (68, 7), (45, 7))))
        hair_part(cv, back, shade, dark(shade, 0.2), light)

    def body(self, cv, state):
        neck(cv, 52, 74, 5.0)
        dress = poly(shoulders(69, 0.96))
        cv.part(dress, hexc('#98c8ee'), out=hexc('#3a6a94'), shade=hexc('#78a8d6'), sd=(3, 2))
        neckline = poly(path(((38.5, 69), (41, 76), (49, 76), (51.5, 69))))
        cv.part(neckline, SKIN, out=hexc('#3a6a94'), ow=0.7)
        # white shawl over the shoulders
        for sx in (-1, 1):
            sh = poly(path(((45 + sx * 7, 72), (45 + sx * 22, 68), (45 + sx * 40, 74), (45 + sx * 46, 92)),
                           ((45 + sx * 46, 92), (45 + sx * 26, 92)), ((45 + sx * 26, 92), (45 + sx * 22, 82), (45 + sx * 12, 78), (45 + sx * 7, 72))))
            cv.part(sh, hexc('#f2f2fc'), out=hexc('#7a86a8'), shade=hexc('#ccd0ea'), sd=(3, 2.4))
        # long straight hair falling in front down to the bottom
        base, shade, light = self.hair
        for sx in (-1, 1):
            lk = poly(path(((45 + sx * 18.8, 36), (45 + sx * 21, 60), (45 + sx * 23, 80), (45 + sx * 25, 92)),
                           ((45 + sx * 25, 92), (45 + sx * 16.5, 92)),
                           ((45 + sx * 16.5, 92), (45 + sx * 16, 70), (45 + sx * 15.5, 55), (45 + sx * 14.8, 36))))
            hair_part(cv, lk, base, shade, light)
            cv.stroke(bez((45 + sx * 19, 44), (45 + sx * 20, 66), (45 + sx * 21.5, 90)), 0.3, shade, w1=0.7)

    def fringe(self):
        cap = inter(ell(45, 30, 21.5, 21.5), rect(0, 0, 90, 30))
        return union(cap, locks_mask([
            ((29, 24), (26.5, 44), 4.5, -0.5), ((35, 22), (33.5, 38), 4.0, 0), ((40.5, 22), (40, 37.5), 3.6, 0),
            ((46, 22), (46.5, 37.5), 3.6, 0), ((51.5, 22), (52.5, 37.5), 3.6, 0), ((57, 22), (59, 38), 4.0, 0),
            ((62, 24), (64, 44), 4.5, 0.5)]))

    def shine(self):
        return shine_band(45, 30, 17.0, 16.0, 1.3, 210, 330, 6)

    def normal(self, cv):
        for sx in (-1, 1):
            eye(cv, 45 + sx * self.eye_dx, self.eye_y, sx, self.iris, w=self.eye_w, h=self.eye_h,
                tilt=self.eye_tilt, lid=self.eye_lid, lash=self.lash, gaze=(0.8, -0.3))
        blush(cv, self.blush)
        mouth_curve(cv, y=self.mouth_y, w=5.0, depth=1.3, thick=0.9)

    def normal_brows(self, cv):
        for sx in (-1, 1):
            brow(cv, 45 + sx * self.eye_dx, self.brow_y, sx, hexc('#4a9a7a'), w=7,
                 inner=-0.2, outer=1.0, arch=0.9, thick=1.0)

    def brow_colour(self):
        return hexc('#4a9a7a')

    def on_top(self, cv, state):
        # white flower over her right ear
        fx, fy = 24.5, 33
        for k in range(6):
            a = math.radians(-90 + 60 * k)
            cv.part(ell(fx + math.cos(a) * 2.7, fy + math.sin(a) * 2.7, 2.2, 2.2), hexc('#ffffff'),
                    out=hexc('#8a98b8'), ow=0.5, shade=hexc('#e0e6f4'), sd=(0.6, 0.6))
        cv.part(ell(fx, fy, 1.3, 1.3), hexc('#ffe070'), out=hexc('#a08020'), ow=0.4)
        bird(cv, 74, 14, state)


def bird(cv, x, y, state):
    """Her little blue companion bird."""
    body = poly(path(((x - 5, y + 1), (x - 5, y - 4), (x + 2, y - 5), (x + 4, y - 1)),
                     ((x + 4, y - 1), (x + 6, y + 3), (x + 2, y + 6), (x - 3, y + 5)),
                     ((x - 3, y + 5), (x - 6, y + 8), (x - 8, y + 7), (x - 5, y + 1))))
    cv.part(body, hexc('#4a9af0'), out=hexc('#143a7a'), ow=0.6, shade=hexc('#2e76d0'), sd=(1, 1))
    cv.fill(inter(body, ell(x + 1.5, y + 3, 3.2, 2.6)), hexc('#dff0ff'))
    wing = poly(lock((x - 1, y), (x - 6, y + 4), 2.0, -0.8))
    cv.part(wing, hexc('#3a84da'), out=hexc('#143a7a'), ow=0.5)
    cv.part(poly([(x + 3.6, y - 2.2), (x + 6.2, y - 1.2), (x + 3.8, y - 0.2)]), hexc('#ffb030'), out=hexc('#8a5010'), ow=0.4)
    if state == SLEEP:
        cv.stroke(bez((x + 0.4, y - 2.2), (x + 1.3, y - 1.4), (x + 2.2, y - 2.2), n=6), 0.6, hexc('#0c1a3a'))
    else:
        cv.fill(ell(x + 1.4, y - 2.2, 0.9, 1.0), hexc('#0c1a3a'))
        cv.fill(ell(x + 1.2, y - 2.5, 0.35, 0.35), WHITE)


CHARACTERS = [Meg(), Jarte(), Yamamoto(), Chams(), Pau(), Chokkun(), SeedPearl()]


# ================================================================ knocked out panel

def knocked_out():
    y = np.linspace(0, 1, W)[:, None]
    x = np.linspace(0, 1, W)[None, :]
    d = np.sqrt((x - 0.5) ** 2 + (y - 0.5) ** 2)
    top, bot = np.array((58, 40, 58), float), np.array((22, 16, 28), float)
    img = top * (1 - y[..., None]) + bot * y[..., None]
    img = img * (1 - np.clip(d * 0.9, 0, 0.6)[..., None])
    img = np.broadcast_to(img, (W, W, 3)).copy()
    bg = Image.fromarray(np.clip(img, 0, 255).astype(np.uint8), 'RGB')
    cv = Canvas(bg)
    # faint diagonal hatching: a calm texture that says 'out of action'
    hatch = blank()
    dh = ImageDraw.Draw(hatch)
    for k in range(-20, 24):
        x0 = k * 6 * S
        dh.line([(x0, 0), (x0 + W, W)], fill=255, width=int(1.6 * S))
    cv.fill(hatch, (0, 0, 0), 0.18)
    # a thin red rule between the two rows of the words
    cv.fill(poly(ribbon(bez((14, 45), (45, 44.4), (76, 45)), 0.9, 0.1, 1.2)), hexc('#a0304a'))
    frame = minus(rect(3, 3, 87, 87), rect(5, 5, 85, 85))
    cv.fill(frame, hexc('#8a6070'))
    cv.fill(minus(rect(6.5, 6.5, 83.5, 83.5), rect(7.2, 7.2, 82.8, 82.8)), hexc('#4a3048'))
    # the words, in a dark rim, reduced with the rest
    txt = Image.new('L', (W, W), 0)
    font = ImageFont.truetype(find_font(), 21 * S)
    dtx = ImageDraw.Draw(txt)
    for row, word in enumerate(('戦闘', '不能')):
        bbox = dtx.textbbox((0, 0), word, font=font)
        tw = bbox[2] - bbox[0]
        tx = (W - tw) // 2 - bbox[0]
        ty = (15 + row * 32) * S - bbox[1]
        dtx.text((tx, ty), word, font=font, fill=255, stroke_width=int(0.6 * S), stroke_fill=255)
    rim = grow(txt, 1.4)
    base = cv.im
    base.paste(hexc('#12060e'), (0, 0), rim)
    # light red words, each row with its own top-to-bottom sheen
    sheen = np.zeros((W, W, 3), np.uint8)
    for row in range(2):
        y0, y1 = (15 + row * 32) * S, (15 + row * 32 + 23) * S
        t = np.clip((np.arange(W) - y0) / (y1 - y0), 0, 1)[:, None]
        for k, (a, b) in enumerate(((255, 215), (150, 60), (150, 70))):
            col = (a * (1 - t) + b * t).astype(np.uint8).repeat(W, 1)
            rows = slice(max(0, y0 - 8 * S), min(W, y1 + 8 * S))
            sheen[rows, :, k] = col[rows, :]
    base.paste(Image.fromarray(sheen, 'RGB'), (0, 0), txt)
    return base.resize((SIZE, SIZE), Image.LANCZOS)


def find_font():
    for p in ('/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf',
              '/usr/share/fonts/truetype/fonts-japanese-gothic.ttf'):
        if os.path.exists(p):
            return p
    raise SystemExit('needs fonts-ipafont-gothic')


# ================================================================ main

def main():
    only = None
    if len(sys.argv) > 1:
        only = {int(a) for a in sys.argv[1:]}
    for n in range(22):
        if only is None or n in only:
            render(n).save(os.path.join(ART, 'face-%02d.png' % n))


def render(n):
    """Picture n of the set, as an RGB image of 90x90."""
    if n == 21:
        return knocked_out().convert('RGB')
    return CHARACTERS[n // 3].draw(n % 3).convert('RGB')


if __name__ == '__main__':
    main()
