"""Small painting kit for the robot pictures.

Shapes are drawn four times larger than the picture, lit as soft raised
plates (a blurred mask serves as height map, light from the upper left),
then reduced, cut to a hard silhouette, limited to a small palette and
given a dark outline, which is what makes them read as pixel art at 1x.
"""
import numpy as np
from PIL import Image, ImageDraw, ImageFilter

S = 4  # supersampling factor

LIGHT = np.array([-0.55, -0.75, 0.75])
LIGHT = LIGHT / np.linalg.norm(LIGHT)


def rgb(c):
    return np.array(c, dtype=np.float64) / 255.0


def ramp(colours, t):
    """Colour at t (0..1, array) along a dark-to-light list of colours."""
    cs = np.array([rgb(c) for c in colours])
    t = np.clip(t, 0, 1) * (len(cs) - 1)
    i = np.minimum(t.astype(int), len(cs) - 2)
    f = (t - i)[..., None]
    return cs[i] * (1 - f) + cs[i + 1] * f


class Layer:
    """An RGBA picture of size n x n drawn at S times the size."""

    def __init__(self, w=127, h=None, scale=1.0, offset=(0.0, 0.0)):
        self.w, self.h = w, (h or w)
        self.k, self.o = scale, offset  # design coordinates -> picture
        self.W, self.H = self.w * S, self.h * S
        self.col = np.zeros((self.H, self.W, 3))
        self.a = np.zeros((self.H, self.W))

    # -- masks ------------------------------------------------------------
    def mask(self, fn):
        """Mask drawn by fn(draw, s) where s scales picture coordinates."""
        im = Image.new("L", (self.W, self.H), 0)
        fn(ImageDraw.Draw(im), lambda *v: [(x * self.k + self.o[i % 2]) * S for i, x in enumerate(v)])
        return np.asarray(im, dtype=np.float64) / 255.0

    def ellipse(self, cx, cy, rx, ry):
        return self.mask(lambda d, s: d.ellipse(s(cx - rx, cy - ry, cx + rx, cy + ry), fill=255))

    def circle(self, cx, cy, r):
        return self.ellipse(cx, cy, r, r)

    def rect(self, x0, y0, x1, y1, r=0):
        if r:
            return self.mask(lambda d, s: d.rounded_rectangle(s(x0, y0, x1, y1), radius=r * S * self.k, fill=255))
        return self.mask(lambda d, s: d.rectangle(s(x0, y0, x1, y1), fill=255))

    def poly(self, pts):
        return self.mask(lambda d, s: d.polygon([tuple(s(x, y)) for x, y in pts], fill=255))

    def line(self, pts, width):
        def f(d, s):
            p = [tuple(s(x, y)) for x, y in pts]
            d.line(p, fill=255, width=int(width * S * self.k), joint="curve")
            r = width * S * self.k / 2
            for x, y in p:
                d.ellipse((x - r, y - r, x + r, y + r), fill=255)
        return self.mask(f)

    # -- painting ---------------------------------------------------------
    def shade(self, m, bevel=3.0, relief=1.0, tilt=(0.0, 0.0)):
        """Light value 0..1 of a raised plate with mask m."""
        h = blur(m, bevel * S) * m
        gy, gx = np.gradient(h)
        k = relief * S * bevel * 1.4
        nx, ny = -gx * k + tilt[0], -gy * k + tilt[1]
        nz = np.ones_like(nx)
        ln = np.sqrt(nx * nx + ny * ny + nz * nz)
        lam = (nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2]) / ln
        return np.clip((lam - 0.15) / 0.85, 0, 1)

    def part(self, m, colours, bevel=3.0, relief=1.0, edge=0.55, gloss=0.0,
             tilt=(0.0, 0.0), flat=None):
        """Paint mask m lit with the colour ramp; edge darkens its rim."""
        if flat is not None:
            c = np.broadcast_to(rgb(flat), self.col.shape).copy()
        else:
            v = self.shade(m, bevel, relief, tilt)
            c = ramp(colours, v)
            if gloss:
                shine = np.clip((v - 0.86) / 0.14, 0, 1) ** 2 * gloss
                c = c + (1 - c) * shine[..., None]
        if edge < 1:
            rim = m - erode(m, S)
            c = c * (1 - rim[..., None] * (1 - edge))
        self.over(c, m)

    def fill(self, m, colour, alpha=1.0):
        self.over(np.broadcast_to(rgb(colour), self.col.shape), m * alpha)

    def glow(self, cx, cy, r, colour, strength=1.0):
        """Additive light inside what is already painted."""
        yy, xx = np.mgrid[0:self.H, 0:self.W]
        cx, cy, r = cx * self.k + self.o[0], cy * self.k + self.o[1], r * self.k
        d = np.sqrt((xx - cx * S) ** 2 + (yy - cy * S) ** 2) / (r * S)
        g = np.clip(1 - d, 0, 1) ** 2 * strength * self.a
        self.col = np.clip(self.col + rgb(colour) * g[..., None], 0, 1)

    def over(self, c, m):
        m = m[..., None]
        self.col = self.col * (1 - m) + c * m
        self.a = np.maximum(self.a, m[..., 0])

    # -- reduction ----------------------------------------------------------
    def reduce(self, colours=48, outline=(18, 14, 24), outline_mix=0.28):
        """The finished 1x RGBA picture."""
        pre = np.dstack([self.col * self.a[..., None], self.a])
        im = Image.fromarray((pre * 255).round().astype(np.uint8), "RGBA")
        small = np.asarray(im.resize((self.w, self.h), Image.BOX), dtype=np.float64) / 255.0
        a = small[..., 3]
        solid = a >= 0.5
        col = small[..., :3] / np.maximum(a, 1e-6)[..., None]
        col = np.clip(col, 0, 1)
        q = Image.fromarray((col * 255).round().astype(np.uint8), "RGB")
        q = q.quantize(colours, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE).convert("RGB")
        col = np.asarray(q, dtype=np.float64) / 255.0
        out = np.zeros((self.h, self.w, 4))
        out[solid, :3] = col[solid]
        out[solid, 3] = 1
        # dark outline on the outside of the silhouette, tinted by what it edges
        ring = np.zeros_like(solid)
        nb = np.zeros(col.shape)
        cnt = np.zeros(solid.shape)
        for dy, dx in ((0, 1), (0, -1), (1, 0), (-1, 0)):
            sh = shift(solid, dx, dy)
            shc = shift(out[..., :3], dx, dy)
            ring |= sh
            nb += shc * sh[..., None]
            cnt += sh
        ring &= ~solid
        nb = nb / np.maximum(cnt, 1)[..., None]
        oc = rgb(outline) * (1 - outline_mix) + nb * outline_mix
        out[ring, :3] = oc[ring]
        out[ring, 3] = 1
        return Image.fromarray((out * 255).round().astype(np.uint8), "RGBA").copy()


def shift(a, dx, dy):
    """a moved by (dx, dy) with zeros coming in (no wrap-around)."""
    out = np.zeros_like(a)
    h, w = a.shape[:2]
    out[max(dy, 0):h + min(dy, 0), max(dx, 0):w + min(dx, 0)] = \
        a[max(-dy, 0):h - max(dy, 0), max(-dx, 0):w - max(dx, 0)]
    return out


def blur(m, r):
    im = Image.fromarray((np.clip(m, 0, 1) * 255).astype(np.uint8), "L")
    return np.asarray(im.filter(ImageFilter.GaussianBlur(r)), dtype=np.float64) / 255.0


def erode(m, px):
    im = Image.fromarray((np.clip(m, 0, 1) * 255).astype(np.uint8), "L")
    size = int(px) * 2 + 1
    return np.asarray(im.filter(ImageFilter.MinFilter(size)), dtype=np.float64) / 255.0


def dilate(m, px):
    im = Image.fromarray((np.clip(m, 0, 1) * 255).astype(np.uint8), "L")
    size = int(px) * 2 + 1
    return np.asarray(im.filter(ImageFilter.MaxFilter(size)), dtype=np.float64) / 255.0


# 3x5 pixel glyphs for painted markings that must stay sharp at 1x
GLYPHS = {
    "9": ["111", "101", "111", "001", "111"],
    "C": ["111", "100", "100", "100", "111"],
    "7": ["111", "001", "010", "010", "010"],
}


def stamp(img, x, y, text, colour, shadow=None, scale=1):
    """Write pixel glyphs onto a 1x RGBA image (only over painted pixels)."""
    px = img.load()
    passes = ([(1, 1, shadow)] if shadow else []) + [(0, 0, colour)]
    for ox, oy, col in passes:
        for k, ch in enumerate(text):
            for r, row in enumerate(GLYPHS[ch]):
                for c, bit in enumerate(row):
                    if bit != "1":
                        continue
                    for sy in range(scale):
                        for sx in range(scale):
                            X = x + (k * 4 + c) * scale + sx + ox
                            Y = y + r * scale + sy + oy
                            if px[X, Y][3]:
                                px[X, Y] = tuple(col) + (255,)
