"""A small pencil-sketch renderer.

Scenes are described in final-pixel coordinates; everything is drawn at
SCALE times that size on a toned paper, then reduced and mapped onto one
16-colour sepia ramp.  A scene paints filled shapes in back-to-front order:
each shape writes a tone (0 paper .. 1 darkest) and a hatch direction into
maps and hides the pencil lines of shapes behind it; the hatching is laid
over the tone map at the end, so it always matches what is in front.
"""
import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

W, H = 192, 305
SCALE = 3
CW, CH = W * SCALE, H * SCALE

# Hatch directions, in degrees on screen (0 = horizontal, 90 = vertical).
HATCH = {"diag": 55.0, "back": 125.0, "vert": 88.0, "flat": 4.0,
         "steep": 70.0, "shallow": 25.0}
# Pencil lines come out a little heavier than their nominal width so that
# they survive the reduction to the final size.
LINE_WEIGHT = 1.3
CONTRAST = 1.45
HATCH_IDS = {name: i for i, name in enumerate(HATCH)}

# Dark brown to cream, darkest last.  The light end is spaced more finely
# because paper and light hatching take most of every picture.
_RAMP_KEYS = [
    (0.00, (248, 238, 212)),
    (0.12, (236, 220, 184)),
    (0.30, (212, 184, 140)),
    (0.55, (160, 118, 76)),
    (0.80, (98, 64, 38)),
    (1.00, (42, 26, 16)),
]


def _ramp(t):
    for (t0, c0), (t1, c1) in zip(_RAMP_KEYS, _RAMP_KEYS[1:]):
        if t <= t1:
            f = (t - t0) / (t1 - t0)
            return tuple(int(round(a + (b - a) * f)) for a, b in zip(c0, c1))
    return _RAMP_KEYS[-1][1]


# Palette level k sits at darkness LEVELS[k]; denser near the paper end.
LEVELS = np.array([(k / 15.0) ** 1.25 for k in range(16)], np.float32)
PALETTE = [_ramp(float(v)) for v in LEVELS]

_BAYER4 = np.array([[0, 8, 2, 10], [12, 4, 14, 6],
                    [3, 11, 1, 9], [15, 7, 13, 5]], np.float32) / 16.0 + 1 / 32.0


def catmull(pts, closed=False, steps=8):
    """Smooth curve through the given points."""
    p = [tuple(map(float, q)) for q in pts]
    if len(p) < 3:
        return p
    if closed:
        ext = [p[-1]] + p + [p[0], p[1]]
        segs = len(p)
    else:
        ext = [p[0]] + p + [p[-1]]
        segs = len(p) - 1
    out = []
    for i in range(segs):
        p0, p1, p2, p3 = ext[i], ext[i + 1], ext[i + 2], ext[i + 3]
        for s in range(steps):
            t = s / steps
            t2, t3 = t * t, t * t * t
            out.append(tuple(
                0.5 * ((2 * p1[k]) + (-p0[k] + p2[k]) * t
                       + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t2
                       + (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t3)
                for k in range(2)))
    if not closed:
        out.append(p[-1])
    return out


def ellipse(cx, cy, rx, ry, rot=0.0, n=28, a0=0.0, a1=360.0):
    c, s = math.cos(math.radians(rot)), math.sin(math.radians(rot))
    pts = []
    for i in range(n + (0 if a1 - a0 >= 360 else 1)):
        a = math.radians(a0 + (a1 - a0) * i / n)
        x, y = rx * math.cos(a), ry * math.sin(a)
        pts.append((cx + x * c - y * s, cy + x * s + y * c))
    return pts


def tube(path, w0, w1=None, steps=6):
    """Outline of a limb-like band along a path, width tapering w0 -> w1."""
    if w1 is None:
        w1 = w0
    pts = catmull(path, steps=steps) if len(path) > 2 else [tuple(map(float, q)) for q in path]
    n = len(pts)
    left, right = [], []
    for i, (x, y) in enumerate(pts):
        xa, ya = pts[max(i - 1, 0)]
        xb, yb = pts[min(i + 1, n - 1)]
        dx, dy = xb - xa, yb - ya
        d = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / d, dx / d
        w = (w0 + (w1 - w0) * i / max(n - 1, 1)) / 2.0
        left.append((x + nx * w, y + ny * w))
        right.append((x - nx * w, y - ny * w))
    # round the ends a little so limbs do not end in cut-off boxes
    x, y = pts[-1]
    xa, ya = pts[-2]
    d = math.hypot(x - xa, y - ya) or 1.0
    tip = (x + (x - xa) / d * w1 * 0.35, y + (y - ya) / d * w1 * 0.35)
    return left + [tip] + right[::-1]


def _smooth_noise(rng, n, scale):
    """Low-frequency wobble of n samples, roughly within +-1."""
    if n < 2:
        return np.zeros(n)
    k = max(2, int(n / scale) + 2)
    ctrl = rng.uniform(-1, 1, k)
    xs = np.linspace(0, k - 1, n)
    return np.interp(xs, np.arange(k), ctrl)


class Sketch:
    def __init__(self, seed):
        self.rng = np.random.default_rng(seed)
        self.T = np.zeros((CH, CW), np.float32)      # tone to be hatched
        self.A = np.zeros((CH, CW), np.uint8)        # hatch direction id
        self.L = np.zeros((CH, CW), np.float32)      # pencil lines
        self.yy, self.xx = np.mgrid[0:CH, 0:CW].astype(np.float32) / SCALE
        g = self.rng.random((CH, CW)).astype(np.float32)
        g = np.asarray(Image.fromarray((g * 255).astype(np.uint8)).filter(
            ImageFilter.GaussianBlur(0.8)), np.float32) / 255.0
        g = (g - g.min()) / (g.max() - g.min() + 1e-6)
        self.grain = g                                # paper tooth, 0..1

    # -- primitive painting -------------------------------------------------

    def _mask(self, pts):
        im = Image.new("L", (CW, CH), 0)
        ImageDraw.Draw(im).polygon([(x * SCALE, y * SCALE) for x, y in pts], fill=255)
        return np.asarray(im) > 127

    def shape(self, pts, tone, hatch="diag", shade=None, line=0.85, lw=1.0,
              smooth=True, outline=True):
        """A filled, outlined shape.  shade = (dx, dy, amount): the tone grows
        by up to `amount` towards direction (dx, dy) across the shape."""
        if smooth:
            pts = catmull(pts, closed=True)
        m = self._mask(pts)
        if not m.any():
            return pts
        t = tone
        if shade is not None:
            dx, dy, k = shade
            xs, ys = [p[0] for p in pts], [p[1] for p in pts]
            cx, cy = (min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2
            r = max(max(xs) - min(xs), max(ys) - min(ys)) / 2 + 1e-3
            d = math.hypot(dx, dy) or 1.0
            g = ((self.xx - cx) * dx + (self.yy - cy) * dy) / (d * r)
            t = tone + k * np.clip(g, -1, 1)
            self.T[m] = np.clip(t, 0, 1)[m]
        else:
            self.T[m] = tone
        self.A[m] = HATCH_IDS[hatch]
        self.L[m] = 0.0
        if outline and line > 0:
            self.stroke(list(pts) + [pts[0]], lw, line, overshoot=False)
        return pts

    def tone_only(self, pts, tone, hatch="diag", smooth=True):
        """Adds tone inside a region without hiding anything (shadows)."""
        if smooth:
            pts = catmull(pts, closed=True)
        m = self._mask(pts)
        self.T[m] = np.maximum(self.T[m], tone)
        self.A[m] = HATCH_IDS[hatch]

    def soft(self, pts, amount, blur=3.0, smooth=True):
        """Rubbed graphite: a soft darkening that ignores the hatch."""
        if smooth:
            pts = catmull(pts, closed=True)
        im = Image.new("L", (CW, CH), 0)
        ImageDraw.Draw(im).polygon([(x * SCALE, y * SCALE) for x, y in pts], fill=255)
        im = im.filter(ImageFilter.GaussianBlur(blur * SCALE))
        a = np.asarray(im, np.float32) / 255.0 * amount
        self.L = 1 - (1 - self.L) * (1 - a * (0.6 + 0.4 * self.grain))

    def lighten(self, pts, amount, blur=2.0, smooth=True):
        """Softly lifts graphite off a region, as with a kneaded eraser."""
        if smooth:
            pts = catmull(pts, closed=True)
        im = Image.new("L", (CW, CH), 0)
        ImageDraw.Draw(im).polygon([(x * SCALE, y * SCALE) for x, y in pts], fill=255)
        im = im.filter(ImageFilter.GaussianBlur(blur * SCALE))
        a = np.asarray(im, np.float32) / 255.0 * amount
        self.T *= 1 - a
        self.L *= 1 - a

    def erase(self, pts, smooth=True):
        """Clears a region back to paper (highlights, steam)."""
        if smooth:
            pts = catmull(pts, closed=True)
        m = self._mask(pts)
        self.T[m] = 0.0
        self.L[m] = 0.0

    def clear_for(self, draw, margin=2.0):
        """Erases a paper-white rim around whatever draw(sketch) puts down, so a
        figure drawn over a busy ground keeps its own silhouette at 1x.  Call
        draw(self) afterwards to put the figure itself in."""
        probe = Sketch(seed=0)
        draw(probe)
        marks = ((probe.T > 0.005) | (probe.L > 0.2)).astype(np.uint8) * 255
        size = 2 * int(round(margin * SCALE)) + 1
        rim = np.asarray(Image.fromarray(marks).filter(ImageFilter.MaxFilter(size))) > 127
        self.T[rim] = 0.0
        self.L[rim] = 0.0

    def stroke(self, pts, w=1.0, dark=0.85, passes=2, wobble=0.35,
               overshoot=True, smooth=False, taper=True):
        """A hand-drawn pencil line along a path."""
        if smooth:
            pts = catmull(pts)
        p = np.array(pts, np.float32) * SCALE
        if len(p) < 2:
            return
        seg = np.hypot(*(p[1:] - p[:-1]).T)
        total = float(seg.sum())
        if total < 0.5:
            return
        cum = np.concatenate([[0], np.cumsum(seg)])
        n = max(2, int(total / 1.2))
        s = np.linspace(0, total, n)
        x = np.interp(s, cum, p[:, 0])
        y = np.interp(s, cum, p[:, 1])
        tx, ty = np.gradient(x), np.gradient(y)
        tl = np.hypot(tx, ty) + 1e-6
        nx, ny = -ty / tl, tx / tl
        layer = Image.new("L", (CW, CH), 0)
        dr = ImageDraw.Draw(layer)
        for k in range(passes):
            wob = _smooth_noise(self.rng, n, 40) * wobble * SCALE
            sh = self.rng.normal(0, 0.25 * SCALE, 2)
            px = x + nx * wob + sh[0]
            py = y + ny * wob + sh[1]
            if overshoot:
                ext = self.rng.uniform(0.5, 2.0) * SCALE
                px = np.concatenate([[px[0] - tx[0] / tl[0] * ext], px, [px[-1] + tx[-1] / tl[-1] * ext]])
                py = np.concatenate([[py[0] - ty[0] / tl[0] * ext], py, [py[-1] + ty[-1] / tl[-1] * ext]])
            m = len(px)
            press = min(1.0, dark * 1.12) * (0.78 + 0.22 * _smooth_noise(self.rng, m, 25))
            if k > 0:
                press = press * 0.6
            if taper:
                e = np.minimum(np.arange(m), np.arange(m)[::-1]).astype(np.float32)
                press = press * np.clip(0.45 + e / 10.0, 0, 1)
            r = max(0.6, w * LINE_WEIGHT * SCALE * 0.5)
            for i in range(m):
                rr = r * (0.85 + 0.3 * press[i] / max(dark, 1e-3))
                dr.ellipse([px[i] - rr, py[i] - rr, px[i] + rr, py[i] + rr],
                           fill=int(255 * min(1.0, press[i])))
        a = np.asarray(layer, np.float32) / 255.0
        a = a * (0.7 + 0.3 * self.grain)
        np.maximum(self.L, a, out=self.L)

    def dots(self, pts, r=0.6, dark=0.9):
        layer = Image.new("L", (CW, CH), 0)
        dr = ImageDraw.Draw(layer)
        for x, y in pts:
            rr = r * SCALE
            dr.ellipse([x * SCALE - rr, y * SCALE - rr, x * SCALE + rr, y * SCALE + rr],
                       fill=int(255 * dark))
        a = np.asarray(layer, np.float32) / 255.0
        np.maximum(self.L, a, out=self.L)

    # -- finishing -----------------------------------------------------------

    def _hatch_layer(self, angle, spacing, dark, length=(8, 22)):
        layer = Image.new("L", (CW, CH), 0)
        dr = ImageDraw.Draw(layer)
        a = math.radians(angle)
        dx, dy = math.cos(a), math.sin(a)
        nx, ny = -dy, dx
        cx, cy = CW / 2, CH / 2
        half = math.hypot(CW, CH) / 2
        c = -half
        sp = spacing * SCALE
        lw = max(1, int(round(0.7 * SCALE)))
        while c < half:
            t = -half + self.rng.uniform(0, length[1] * SCALE)
            while t < half:
                ln = self.rng.uniform(*length) * SCALE
                ja = math.radians(self.rng.normal(0, 2.5))
                ex, ey = math.cos(a + ja), math.sin(a + ja)
                ox = cx + nx * c + dx * t
                oy = cy + ny * c + dy * t
                v = int(255 * dark * self.rng.uniform(0.7, 1.0))
                dr.line([(ox, oy), (ox + ex * ln, oy + ey * ln)], fill=v, width=lw)
                t += ln + self.rng.uniform(-0.2, 1.2) * SCALE
            c += sp * self.rng.uniform(0.8, 1.2)
        return np.asarray(layer, np.float32) / 255.0

    def render(self, vignette=True):
        """Returns the finished picture as an RGB image on the sepia palette."""
        levels = [(0.16, 0.0, 3.0, 0.7), (0.40, 72.0, 2.8, 0.75),
                  (0.62, -30.0, 2.3, 0.8), (0.82, 18.0, 2.0, 0.85)]
        hatch = np.zeros((CH, CW), np.float32)
        for name, hid in HATCH_IDS.items():
            region = (self.A == hid) & (self.T > levels[0][0] - 0.08)
            if not region.any():
                continue
            for th, da, sp, dk in levels:
                k = np.clip((self.T - th) / 0.1, 0, 1) * region
                if not k.any():
                    continue
                lay = self._hatch_layer(HATCH[name] + da, sp, dk)
                hatch = 1 - (1 - hatch) * (1 - lay * k)
        tone = np.asarray(Image.fromarray((self.T * 255).astype(np.uint8)).filter(
            ImageFilter.GaussianBlur(1.2 * SCALE)), np.float32) / 255.0
        smudge = tone * 0.42
        tooth = 0.55 + 0.45 * self.grain
        d = 1 - (1 - smudge * tooth) * (1 - hatch * tooth) * (1 - self.L)
        paper = 0.035 * self.grain
        if vignette:
            ex = np.minimum(self.xx, W - self.xx) / 14.0
            ey = np.minimum(self.yy, H - self.yy) / 14.0
            e = np.clip(np.minimum(ex, ey), 0, 1)
            paper = paper + (1 - e) ** 2 * 0.22
        d = 1 - (1 - d) * (1 - paper)
        small = d.reshape(H, SCALE, W, SCALE).mean(axis=(1, 3))
        # Reduction greys out one-pixel lines; press them back towards the
        # darker end so outlines reach the deep browns of the ramp.
        small = 1 - (1 - np.clip(small, 0, 1)) ** CONTRAST
        return quantise(small)


def quantise(dark):
    """Darkness 0..1 per pixel -> RGB image using only PALETTE, lightly dithered."""
    h, w = dark.shape
    b = np.tile(_BAYER4, (h // 4 + 1, w // 4 + 1))[:h, :w]
    lv = LEVELS
    idx = np.searchsorted(lv, dark, side="right") - 1
    idx = np.clip(idx, 0, 14)
    lo, hi = lv[idx], lv[idx + 1]
    f = (dark - lo) / (hi - lo)
    # dithering only in the middle of a step keeps lines crisp
    f = 0.5 + (f - 0.5) * 1.0
    pick = np.where(f > b * 0.8 + 0.1, idx + 1, idx)
    pick = np.clip(pick, 0, 15)
    pal = np.array(PALETTE, np.uint8)
    return Image.fromarray(pal[pick], "RGB")
