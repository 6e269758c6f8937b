"""Small drawing kit for the colour-sketch portraits.

Everything is authored in output-pixel coordinates and painted on a canvas
SS times larger, then reduced, so edges come out soft without blur.
Shapes get a soft fill, a rim shade away from the light (upper left) and a
slightly uneven darker outline in their own hue, which gives the sketch look.
"""
import math
import random

import numpy as np
from PIL import Image, ImageChops, ImageDraw, ImageFilter

SS = 4
WHITE = (255, 255, 255)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def dark(c, t=0.35):
    # Darken towards a warm brown rather than black: keeps lines in the hue.
    return mix(c, (50, 25, 40), t)


def light(c, t=0.4):
    return mix(c, WHITE, t)


def spline(pts, closed=True, step=0.35):
    """Catmull-Rom through pts; a point with a third item 'c' is a corner.
    Extra numeric items (like widths) are interpolated along."""
    corner = [len(p) > 2 and p[-1] == 'c' for p in pts]
    P = np.array([[v for v in p if v != 'c'] for p in pts], dtype=float)
    n = len(P)
    out = []
    segs = range(n) if closed else range(n - 1)
    for i in segs:
        p1 = P[i]
        p2 = P[(i + 1) % n]
        p0 = P[(i - 1) % n] if (closed or i > 0) else p1
        p3 = P[(i + 2) % n] if (closed or i + 2 < n) else p2
        m1 = np.zeros_like(p1) if corner[i] else (p2 - p0) / 2
        m2 = np.zeros_like(p1) if corner[(i + 1) % n] else (p3 - p1) / 2
        d = math.hypot(*(p2 - p1)[:2])
        k = max(3, int(d / step))
        for j in range(k):
            t = j / k
            h00 = 2 * t ** 3 - 3 * t ** 2 + 1
            h10 = t ** 3 - 2 * t ** 2 + t
            h01 = -2 * t ** 3 + 3 * t ** 2
            h11 = t ** 3 - t ** 2
            out.append(h00 * p1 + h10 * m1 + h01 * p2 + h11 * m2)
    if not closed:
        out.append(P[-1])
    return [tuple(p) for p in out]


def ellipse_pts(cx, cy, rx, ry, rot=0.0, n=90, a0=0.0, a1=2 * math.pi):
    cr, sr = math.cos(rot), math.sin(rot)
    pts = []
    for i in range(n + 1 if a1 - a0 < 2 * math.pi - 1e-6 else n):
        a = a0 + (a1 - a0) * i / n
        x, y = rx * math.cos(a), ry * math.sin(a)
        pts.append((cx + x * cr - y * sr, cy + x * sr + y * cr))
    return pts


class Pic:
    def __init__(self, w, h, seed=1):
        self.w, self.h = w, h
        self.size = (w * SS, h * SS)
        self.img = Image.new('RGBA', self.size, WHITE + (255,))
        self.rng = random.Random(seed)
        self.line_w = 1.0
        self.lift = 0  # whole picture moved up by this many pixels on output

    # -- low level -------------------------------------------------------
    def _sc(self, pts):
        return [(p[0] * SS, p[1] * SS) for p in pts]

    def mask_poly(self, poly):
        m = Image.new('L', self.size, 0)
        ImageDraw.Draw(m).polygon(self._sc(poly), fill=255)
        return m

    def paint(self, mask, col, alpha=1.0):
        if alpha < 1.0:
            mask = mask.point(lambda v: int(v * alpha))
        layer = Image.new('RGBA', self.size, col + (0,))
        layer.putalpha(mask)
        self.img.alpha_composite(layer)

    def shade_mask(self, mask, dx, dy, soft):
        """Band of mask lying within (dx, dy) of its far edge."""
        shifted = ImageChops.offset(mask, int(-dx * SS), int(-dy * SS))
        band = ImageChops.subtract(mask, shifted)
        if soft:
            band = band.filter(ImageFilter.GaussianBlur(soft * SS))
        return ImageChops.multiply(band, mask)

    # -- shapes ----------------------------------------------------------
    def shape(self, pts, col, closed=True, smooth=True, line=True, shade=2.2,
              hi=1.6, clip=None, lw=None, line_col=None, alpha=1.0, ink=0.5):
        poly = spline(pts) if smooth else list(pts)
        m = self.mask_poly(poly)
        return self.fill_mask(m, col, poly if line else None, shade, hi, clip,
                              lw, line_col, alpha, ink)

    def fill_mask(self, m, col, outline=None, shade=2.2, hi=1.6, clip=None,
                  lw=None, line_col=None, alpha=1.0, ink=0.5):
        if clip is not None:
            m = ImageChops.multiply(m, clip)
        self.paint(m, col, alpha)
        if shade:
            self.paint(self.shade_mask(m, shade, shade * 0.8, shade * 0.45),
                       dark(col, 0.22), 0.75 * alpha)
        if hi:
            self.paint(self.shade_mask(m, -hi, -hi, hi * 0.5),
                       light(col, 0.45), 0.6 * alpha)
        if outline is not None:
            self.stroke(outline, line_col or dark(col, ink), lw, closed=True)
            self.sketch_line(outline, line_col or dark(col, ink), lw)
        return m

    def sketch_line(self, pts, col, lw=None):
        """A second, fainter pass of the pen that strays a little from the
        first, as a quick hand-drawn outline does."""
        lw = self.line_w if lw is None else lw
        pts = self._resample(list(pts) + [pts[0]], 0.6)
        if len(pts) < 8:
            return
        ph = [self.rng.uniform(0, 6.3) for _ in range(4)]
        amp = 0.3 * lw + 0.15
        out = []
        for i, (x, y) in enumerate(pts):
            s = i * 0.6
            out.append((x + amp * math.sin(s * 0.13 + ph[0]) + 0.5 * amp * math.sin(s * 0.41 + ph[1]),
                        y + amp * math.sin(s * 0.11 + ph[2]) + 0.5 * amp * math.sin(s * 0.37 + ph[3])))
        # leave gaps, as the pen lifts now and then
        run = []
        for i, q in enumerate(out):
            if math.sin(i * 0.6 * 0.09 + ph[0]) > -0.35:
                run.append(q)
            elif run:
                if len(run) > 3:
                    self.stroke(run, col, lw * 0.5, taper=True, alpha=0.45, wobble=0.15)
                run = []
        if len(run) > 3:
            self.stroke(run, col, lw * 0.5, taper=True, alpha=0.45, wobble=0.15)

    def stroke(self, pts, col, lw=None, closed=False, taper=False, alpha=1.0,
               smooth=False, wobble=0.25):
        """Uneven pen line: a chain of discs with slowly varying radius."""
        if smooth:
            pts = spline(pts, closed=closed)
        lw = self.line_w if lw is None else lw
        pts = list(pts)
        if closed and pts:
            pts = pts + [pts[0]]
        dense = self._resample(pts, 0.3)
        if not dense:
            return
        layer = Image.new('RGBA', self.size, col + (0,))
        m = Image.new('L', self.size, 0)
        d = ImageDraw.Draw(m)
        ph1, ph2 = self.rng.uniform(0, 6.3), self.rng.uniform(0, 6.3)
        n = len(dense)
        for i, (x, y) in enumerate(dense):
            s = i * 0.3
            k = 1 + wobble * math.sin(s * 0.21 + ph1) + 0.5 * wobble * math.sin(s * 0.57 + ph2)
            if taper:
                t = i / max(1, n - 1)
                k *= 0.25 + 0.75 * math.sin(math.pi * t) ** 0.6
            r = max(0.18, lw * k / 2) * SS
            d.ellipse((x * SS - r, y * SS - r, x * SS + r, y * SS + r), fill=255)
        if alpha < 1.0:
            m = m.point(lambda v: int(v * alpha))
        layer.putalpha(m)
        self.img.alpha_composite(layer)

    @staticmethod
    def _resample(pts, step):
        out = []
        for a, b in zip(pts, pts[1:]):
            d = math.hypot(b[0] - a[0], b[1] - a[1])
            k = max(1, int(d / step))
            for j in range(k):
                t = j / k
                out.append((a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t))
        if pts:
            out.append(pts[-1])
        return out

    def limb(self, joints, col, line=True, shade=1.6, hi=1.0, clip=None,
             lw=None, caps=(True, True), ink=0.5):
        """Tapered rounded tube through joints given as (x, y, width)."""
        c = spline(joints, closed=False, step=0.3)
        m = Image.new('L', self.size, 0)
        d = ImageDraw.Draw(m)
        for x, y, w in c:
            r = w / 2 * SS
            d.ellipse((x * SS - r, y * SS - r, x * SS + r, y * SS + r), fill=255)
        outline = None
        if line:
            left, right = [], []
            for i in range(len(c)):
                a = c[max(0, i - 1)]
                b = c[min(len(c) - 1, i + 1)]
                tx, ty = b[0] - a[0], b[1] - a[1]
                L = math.hypot(tx, ty) or 1
                nx, ny = -ty / L, tx / L
                x, y, w = c[i]
                left.append((x + nx * w / 2, y + ny * w / 2))
                right.append((x - nx * w / 2, y - ny * w / 2))
            outline = []
            self._limb_line = (left, right)
            x, y, w = c[-1]
            a = c[-2]
            ang = math.atan2(y - a[1], x - a[0])
            end = ellipse_pts(x, y, w / 2, w / 2, 0, 16, ang - math.pi / 2, ang + math.pi / 2)
            x, y, w = c[0]
            b = c[1]
            ang = math.atan2(y - b[1], x - b[0])
            start = ellipse_pts(x, y, w / 2, w / 2, 0, 16, ang - math.pi / 2, ang + math.pi / 2)
            outline = left + (end if caps[1] else []) + right[::-1] + (start if caps[0] else [])
        m2 = m if clip is None else ImageChops.multiply(m, clip)
        self.fill_mask(m2, col, None, shade, hi, None, lw, None)
        if outline is not None:
            # an arm growing out of a sleeve or shoulder has no line at its root
            self.stroke(outline, dark(col, ink), lw, closed=caps[0])
            self.sketch_line(outline, dark(col, ink), lw)
        return m

    def ell(self, cx, cy, rx, ry, col, rot=0.0, **kw):
        return self.shape(ellipse_pts(cx, cy, rx, ry, rot), col, smooth=False, **kw)

    def dot(self, x, y, r, col, alpha=1.0):
        m = Image.new('L', self.size, 0)
        ImageDraw.Draw(m).ellipse(((x - r) * SS, (y - r) * SS, (x + r) * SS, (y + r) * SS), fill=255)
        self.paint(m, col, alpha)
        return m

    def glow(self, pts, col, alpha=0.5, blur=1.5, clip=None, smooth=True):
        """Soft patch (blush, cast shadow) with no outline."""
        poly = spline(pts) if smooth else pts
        m = self.mask_poly(poly).filter(ImageFilter.GaussianBlur(blur * SS))
        if clip is not None:
            m = ImageChops.multiply(m, clip)
        self.paint(m, col, alpha)

    def ground_shadow(self, cx, cy, rx, ry, alpha=0.35):
        m = Image.new('L', self.size, 0)
        ImageDraw.Draw(m).ellipse(((cx - rx) * SS, (cy - ry) * SS, (cx + rx) * SS, (cy + ry) * SS), fill=255)
        m = m.filter(ImageFilter.GaussianBlur(ry * 0.4 * SS))
        self.paint(m, (170, 165, 190), alpha)

    # -- output ----------------------------------------------------------
    def save(self, path):
        img = self.img.convert('RGB')
        if self.lift:
            moved = Image.new('RGB', self.size, WHITE)
            moved.paste(img, (0, -int(self.lift * SS)))
            img = moved
        out = img.resize((self.w, self.h), Image.LANCZOS)
        a = np.asarray(out).astype(np.int16)
        # The portrait lies on a white card: the ground has to be exactly white,
        # so resampling haze and near-white noise are snapped to it.
        near = (a >= 250).all(axis=2)
        a[near] = 255
        a[0, :] = a[-1, :] = 255
        a[:, 0] = a[:, -1] = 255
        Image.fromarray(a.clip(0, 255).astype(np.uint8), 'RGB').save(path, optimize=True)
