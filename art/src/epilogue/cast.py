"""The seven heroes and the other people of the story, as pencil figures.

Each figure is designed once in its own frame: x to the right, y upwards
from the feet, 100 units = the figure's height.  `Fig` places that frame
on a sketch at a foot position and a height in pixels, optionally mirrored.
"""
import math

from pencil import ellipse, tube

SKIN = 0.04


class Fig:
    def __init__(self, s, x, y, h, flip=False):
        self.s, self.x, self.y = s, x, y
        self.k = h / 100.0
        self.f = -1.0 if flip else 1.0

    wide = 1.0

    def narrow(self, factor):
        """The same placement with the figure drawn slimmer."""
        g = Fig(self.s, self.x, self.y, self.k * 100, self.f < 0)
        g.wide = factor
        return g

    def P(self, pts):
        return [(self.x + self.f * px * self.k * self.wide, self.y - py * self.k)
                for px, py in pts]

    def shape(self, pts, tone, **kw):
        return self.s.shape(self.P(pts), tone, **kw)

    def limb(self, path, w0, w1, tone, **kw):
        kw.setdefault("smooth", False)
        return self.s.shape(tube(self.P(path), w0 * self.k, w1 * self.k), tone, **kw)

    def ell(self, cx, cy, rx, ry, tone, rot=0.0, **kw):
        (x, y), = self.P([(cx, cy)])
        kw.setdefault("smooth", False)
        return self.s.shape(ellipse(x, y, rx * self.k, ry * self.k, rot * self.f), tone, **kw)

    def line(self, pts, w=0.8, dark=0.85, **kw):
        self.s.stroke(self.P(pts), w, dark, **kw)

    def dot(self, x, y, r=0.5, dark=0.95):
        self.s.dots(self.P([(x, y)]), r, dark)

    def lw(self):
        """Outline width for this figure size: thinner lines on small figures."""
        return 0.9 if self.k > 0.7 else 0.7


# ---------------------------------------------------------------------------
# Back views (the heroes looking down the iron road)


def pau_back(f):
    f = f.narrow(0.84)      # slim: far stronger than he looks
    lw = f.lw()
    for sx in (-1, 1):
        f.limb([(7 * sx, 47), (8 * sx, 24), (8.5 * sx, 3)], 10, 8, 0.45, hatch="vert", lw=lw)
        f.ell(9 * sx, 2, 6, 3, 0.75, lw=lw)
    f.shape([(-15, 81), (-8, 84), (8, 84), (15, 81), (15, 66), (13.5, 48), (-13.5, 48),
             (-15, 66)], 0.08, lw=lw)
    f.shape([(-12.5, 81), (-7, 83), (7, 83), (12.5, 81), (13, 64), (12.5, 50), (-12.5, 50),
             (-13, 64)], 0.55, hatch="vert", shade=(1, 0.2, 0.2), lw=lw)
    f.line([(0, 80), (0, 52)], 0.6, 0.5)
    f.shape([(-13.5, 52), (13.5, 52), (13.5, 47), (-13.5, 47)], 0.8, lw=lw, smooth=False)
    f.ell(12, 43, 4, 5, 0.5, lw=lw)
    for sx in (-1, 1):
        f.limb([(15 * sx, 80), (18 * sx, 70), (19 * sx, 62)], 8, 7, 0.1, lw=lw)
        f.limb([(19 * sx, 62), (20 * sx, 53), (20 * sx, 46)], 6, 5, SKIN, lw=lw)
        f.ell(20 * sx, 44, 3.2, 3.6, SKIN, lw=lw)
    f.ell(0, 84, 4, 4, SKIN, lw=lw)
    f.ell(-7, 91, 1.8, 2.6, SKIN, lw=lw)
    f.ell(7, 91, 1.8, 2.6, SKIN, lw=lw)
    f.ell(0, 92, 7, 8, 0.32, hatch="steep", shade=(1, 0, 0.15), lw=lw)
    f.shape([(-7.6, 93), (-6, 99), (0, 101), (6, 99), (7.6, 93), (0, 95.5)], 0.55,
            hatch="diag", lw=lw)
    f.shape([(0, 95), (3, 92), (5, 86), (2, 88), (-1, 92)], 0.55, lw=lw)


def jarte_back(f):
    lw = f.lw()
    # long flowing skirt with a sash
    f.shape([(-11, 52), (11, 52), (17, 25), (22, 2), (8, 0), (-6, 1), (-20, 3), (-15, 28)],
            0.5, hatch="vert", shade=(1, 0, 0.25), lw=lw)
    for x in (-9, -2, 6, 13):
        f.line([(x * 0.5, 48), (x, 4)], 0.6, 0.45)
    f.shape([(-12, 70), (12, 70), (11, 51), (-11, 51)], 0.68, hatch="diag", lw=lw, smooth=False)
    f.shape([(-11.5, 55), (11.5, 55), (11.5, 50), (-11.5, 50)], 0.3, lw=lw, smooth=False)
    f.shape([(8, 52), (14, 40), (18, 30), (13, 33), (9, 44)], 0.3, lw=lw)
    f.limb([(-12, 76), (-16, 65), (-17, 54)], 5.5, 4.5, SKIN, lw=lw)
    f.limb([(-17, 54), (-18, 47)], 4.5, 4, SKIN, lw=lw)
    f.ell(-18, 45.5, 2.6, 3, SKIN, lw=lw)
    f.shape([(-15.5, 54), (-19.5, 54.5), (-19.5, 52), (-15.5, 51.5)], 0.35, lw=0.6, smooth=False)
    f.limb([(12, 76), (20, 66), (22, 62)], 5.5, 4.5, SKIN, lw=lw)
    f.limb([(22, 62), (17, 57), (11, 56)], 4.5, 4, SKIN, lw=lw)
    f.shape([(19.5, 66), (23.5, 63), (22, 61), (18.5, 64)], 0.35, lw=0.6, smooth=False)
    f.shape([(-13, 78), (13, 78), (12, 69), (-12, 69)], SKIN, lw=lw)
    f.ell(0, 80, 3, 3, SKIN, lw=lw)
    # long wavy hair down the back
    f.shape([(-7, 94), (-8.5, 84), (-10, 76), (-8, 68), (-11, 60), (-6, 56), (-2, 60),
             (2, 56), (7, 59), (10, 56), (9, 64), (11, 72), (9, 80), (8.5, 88), (7, 95),
             (0, 99)], 0.78, hatch="steep", shade=(1, 0, 0.15), lw=lw)
    for x0 in (-5, 0, 5):
        f.line([(x0 * 0.8, 95), (x0 - 1.5, 84), (x0 + 1.5, 72), (x0 - 1, 62)], 0.5, 0.55,
               smooth=True)
    # red flower clip
    for a in range(5):
        ang = a * 72
        f.ell(5 + 2 * math.cos(math.radians(ang)), 93 + 2 * math.sin(math.radians(ang)),
              1.5, 1.5, 0.25, lw=0.5)
    f.ell(5, 93, 0.9, 0.9, 0.7, lw=0.4)


def yamamoto_back(f, raised=False):
    lw = f.lw()
    # hakama: wide dark trousers
    f.shape([(-12, 50), (12, 50), (15, 2), (2, 2), (0, 30), (-2, 2), (-15, 2)], 0.82,
            hatch="vert", lw=lw, smooth=False)
    f.line([(-7, 48), (-8, 4)], 0.5, 0.35)
    f.line([(7, 48), (8, 4)], 0.5, 0.35)
    for sx in (-1, 1):
        f.ell(8.5 * sx, 1.5, 5, 2.5, 0.7, lw=lw)
    # sword at the left hip, hilt forward, tip behind
    f.limb([(-20, 38), (-6, 52), (10, 64)], 2.6, 2.2, 0.7, lw=0.6)
    f.limb([(10, 64), (15, 68.5)], 2.2, 2.2, 0.3, lw=0.6)
    # jacket
    f.shape([(-13, 81), (-6, 84), (6, 84), (13, 81), (13, 62), (14.5, 49), (-14.5, 49),
             (-13, 62)], 0.7, hatch="diag", shade=(1, 0, 0.2), lw=lw)
    f.line([(-4, 80), (-6, 60), (-9, 52)], 0.5, 0.5, smooth=True)
    f.line([(5, 78), (7, 62), (10, 52)], 0.5, 0.5, smooth=True)
    f.shape([(-13, 53), (13, 53), (13, 49), (-13, 49)], 0.35, lw=lw, smooth=False)
    if not raised:
        for sx in (-1, 1):
            f.limb([(13 * sx, 80), (16 * sx, 66), (17 * sx, 52)], 8, 7, 0.7, lw=lw)
            f.ell(17 * sx, 48.5, 3, 3.5, SKIN, lw=lw)
    f.shape([(-6, 86), (6, 86), (7, 81), (-7, 81)], 0.0, lw=lw)
    f.ell(0, 85, 3.2, 3, SKIN, lw=lw)
    f.ell(0, 92, 6.8, 7.8, 0.88, hatch="steep", lw=lw)
    f.shape([(-6.8, 94), (6.8, 94), (6.7, 96), (-6.7, 96)], 0.0, lw=0.6, smooth=False)
    f.shape([(0, 95), (3, 92), (6, 85), (3, 86), (-1, 92)], 0.0, lw=0.6)
    f.shape([(-2, 99), (2, 99), (5, 104), (3, 106), (-1, 105)], 0.9, lw=lw)
    if raised:
        # both hands on the hilt above his head, the blade high over him
        f.s.shape(tube(f.P([(8, 112), (22, 140), (34, 166)]), 3.2 * f.k, 1.6 * f.k), 0.02,
                  lw=0.8, smooth=False)
        f.s.shape(tube(f.P([(2, 104), (8, 112)]), 3 * f.k, 3 * f.k), 0.75, lw=0.6, smooth=False)
        f.s.shape(tube(f.P([(5, 113), (11, 110)]), 2 * f.k, 2 * f.k), 0.6, lw=0.5, smooth=False)
        for sx in (-1, 1):
            f.limb([(13 * sx, 80), (16 * sx, 94), (6 * sx if sx > 0 else -2, 104)], 8, 7, 0.7,
                   lw=lw)
        f.ell(3, 105, 3.5, 3.5, SKIN, lw=lw)


def seed_back(f):
    lw = f.lw()
    f.shape([(-10, 64), (10, 64), (15, 20), (17, 2), (-17, 2), (-15, 20)], 0.22,
            hatch="vert", shade=(1, 0, 0.18), lw=lw)
    for x in (-10, -3, 4, 10):
        f.line([(x * 0.4, 60), (x, 4)], 0.5, 0.35)
    for sx in (-1, 1):
        f.limb([(10 * sx, 78), (14 * sx, 66), (14.5 * sx, 54)], 5.5, 4.5, 0.22, lw=lw)
        f.ell(14.5 * sx, 51.5, 2.4, 2.8, SKIN, lw=lw)
    # white shawl over the shoulders
    f.shape([(-13, 80), (13, 80), (15, 68), (8, 60), (0, 64), (-8, 60), (-15, 68)],
            0.02, lw=lw)
    # long straight hair
    f.shape([(-6.5, 94), (-8, 84), (-8.5, 70), (-7.5, 58), (7.5, 58), (8.5, 70), (8, 84),
             (6.5, 94), (0, 98)], 0.2, hatch="vert", shade=(1, 0, 0.12), lw=lw)
    for x0 in (-5, -2, 1.5, 4.5):
        f.line([(x0 * 0.6, 95), (x0, 75), (x0 * 1.05, 60)], 0.45, 0.45, smooth=True)
    for a in range(5):
        ang = math.radians(a * 72 + 15)
        f.ell(-6.5 + 2.1 * math.cos(ang), 90 + 2.1 * math.sin(ang), 1.7, 1.7, 0.0, lw=0.5)
    f.ell(-6.5, 90, 0.8, 0.8, 0.5, lw=0.4)


def bird(s, x, y, size=1.0, flip=False, perched=False):
    f = Fig(s, x, y, 80 * size, flip)
    f.ell(0, 5, 5, 3.2, 0.55, rot=-10, lw=0.6)
    f.ell(4, 8, 2.6, 2.4, 0.55, lw=0.6)
    f.shape([(6.3, 8.5), (8.6, 7.8), (6.3, 7.2)], 0.7, lw=0.5, smooth=False)
    f.shape([(-4.5, 5.5), (-9, 7.5), (-9, 3.5), (-4, 3.8)], 0.7, lw=0.5, smooth=False)
    if perched:
        f.shape([(-2, 6), (2, 7.5), (2.5, 4), (-1, 3.5)], 0.75, lw=0.5)
    else:
        f.shape([(-1, 6), (1, 14), (3, 13), (2.5, 6)], 0.7, lw=0.5)
    f.dot(4.6, 8.6, 0.35)


def meg_back(f, point=True):
    lw = f.lw()
    for sx in (-1, 1):
        f.limb([(5 * sx, 34), (5.5 * sx, 18), (5.5 * sx, 4)], 5.5, 4.5, SKIN, lw=lw)
        f.ell(6 * sx, 2.5, 4.5, 2.8, 0.6, lw=lw)
    f.shape([(-11, 44), (11, 44), (15, 28), (-15, 28)], 0.35, hatch="diag", lw=lw)
    # the hooded cape
    f.shape([(-8, 76), (8, 76), (15, 54), (18, 36), (0, 33), (-18, 36), (-15, 54)],
            0.14, hatch="vert", shade=(1, 0.3, 0.3), lw=lw)
    f.shape([(-8, 77), (8, 77), (10, 68), (0, 63), (-10, 68)], 0.2, lw=lw)
    f.line([(-10, 60), (-13, 40)], 0.5, 0.4)
    f.line([(9, 60), (12, 40)], 0.5, 0.4)
    if point:
        f.limb([(10, 71), (19, 80), (27, 90)], 5, 4.5, 0.14, lw=lw)
        f.limb([(27, 90), (31, 95)], 3.8, 3.2, SKIN, lw=lw)
        f.ell(32, 96.5, 2.4, 2.8, SKIN, lw=lw)
    # pink hair, shoulder length, two small bunches with ribbons
    f.shape([(-9, 86), (-9.5, 78), (-7, 74), (0, 73), (7, 74), (9.5, 78), (9, 86), (0, 96)],
            0.32, hatch="steep", shade=(1, 0, 0.12), lw=lw)
    for sx in (-1, 1):
        f.ell(10.5 * sx, 84, 3.2, 4.5, 0.32, rot=-20 * sx, hatch="steep", lw=lw)
        f.shape([(8 * sx, 87), (11 * sx, 90), (10 * sx, 85.5), (12.5 * sx, 86), (9.5 * sx, 83)],
                0.05, lw=0.5)
    for x0 in (-5, 0, 5):
        f.line([(x0 * 0.5, 93), (x0, 80), (x0 * 1.1, 75)], 0.45, 0.45, smooth=True)


def chams_back(f, arms_up=True, stride=False):
    lw = f.lw()
    if stride:
        # mid-step: the right foot lifts its heel and shows the sole
        f.limb([(-5, 36), (-5.5, 18), (-6, 4)], 6, 5, SKIN, lw=lw)
        f.ell(-6.5, 2.5, 5, 3, 0.65, lw=lw)
        f.limb([(5, 36), (6, 20), (7, 12)], 6, 5, SKIN, lw=lw)
        f.ell(7.5, 10, 4.2, 3.2, 0.75, lw=lw)
    else:
        for sx in (-1, 1):
            f.limb([(5 * sx, 36), (5.5 * sx, 18), (6 * sx, 4)], 6, 5, SKIN, lw=lw)
            f.ell(6.5 * sx, 2.5, 5, 3, 0.65, lw=lw)
    f.shape([(-11, 44), (11, 44), (12, 31), (1, 31), (0, 36), (-1, 31), (-12, 31)], 0.62,
            hatch="diag", lw=lw, smooth=False)
    f.shape([(-11, 72), (-5, 75), (5, 75), (11, 72), (12, 56), (13.5, 40), (-13.5, 40),
             (-12, 56)], 0.45, hatch="vert", shade=(1, 0, 0.2), lw=lw)
    # satchel strap across the back, bag on the hip
    f.limb([(-11, 72), (0, 60), (11, 47)], 3, 3, 0.7, lw=0.6)
    f.shape([(6, 50), (17, 50), (17, 37), (6, 37)], 0.55, hatch="flat", lw=lw)
    f.shape([(6, 50), (17, 50), (17, 45), (6, 45)], 0.62, lw=0.6)
    f.ell(0, 76, 3.4, 3, SKIN, lw=lw)
    # messy spiky hair
    f.shape([(-10, 84), (-14, 88), (-10, 90), (-13, 96), (-8, 95), (-7, 101), (-3, 97),
             (0, 103), (3, 97), (7, 101), (8, 95), (13, 96), (10, 90), (14, 88), (10, 84),
             (11, 79), (6, 80), (3, 76), (0, 79), (-3, 76), (-6, 80), (-11, 79)],
            0.42, hatch="steep", shade=(1, 0.3, 0.15), lw=lw, smooth=False)
    if arms_up:
        for sx in (-1, 1):
            f.limb([(11 * sx, 71), (19 * sx, 80), (22 * sx, 88)], 6, 5.5, 0.45, lw=lw)
            f.limb([(22 * sx, 88), (13 * sx, 91), (5 * sx, 89)], 4.5, 4, SKIN, lw=lw)
    else:
        for sx in (-1, 1):
            f.limb([(12 * sx, 72), (16 * sx, 60), (17 * sx, 50)], 6.5, 5.5, 0.45, lw=lw)
            f.limb([(17 * sx, 50), (18 * sx, 42)], 4.5, 4, SKIN, lw=lw)
            f.ell(18 * sx, 40, 2.8, 3.2, SKIN, lw=lw)


def chokkun(f):
    """The small fluffy animal from behind: round body, long ears with dark
    tips, a short bushy tail."""
    lw = f.lw()
    for sx in (-1, 1):
        f.shape([(2.5 * sx, 62), (6 * sx, 92), (10 * sx, 100), (12 * sx, 92), (7 * sx, 60)],
                0.08, lw=lw, shade=(0, -1, 0.1))
        f.shape([(6 * sx, 92), (10 * sx, 100), (12 * sx, 92), (9 * sx, 88)], 0.55, lw=lw)
    f.shape([(-22, 40), (-20, 12), (-10, 2), (10, 2), (20, 12), (22, 40), (16, 62), (0, 70),
             (-16, 62)], 0.06, shade=(1, 1, 0.2), lw=lw)
    for sx in (-1, 1):
        f.ell(12 * sx, 4, 6, 3.5, 0.08, lw=lw)
    f.shape([(-6, 14), (-22, 20), (-28, 40), (-14, 48), (-2, 34), (4, 20)], 0.12,
            shade=(0, -1, 0.2), hatch="back", lw=lw)
    for a in (0, 1, 2):
        f.line([(-8 - 5 * a, 20 + 2 * a), (-14 - 4 * a, 34 + 3 * a)], 0.45, 0.45)


# ---------------------------------------------------------------------------
# Front views


def face(f, cx, cy, r, mood="smile", eyes="open", tone=SKIN, side=0.0):
    """A round face seen from the front; side shifts the features sideways."""
    f.ell(cx, cy, r, r * 1.08, tone, shade=(1, 0.4, 0.12), lw=f.lw())
    ex = r * 0.38
    ey = cy - r * 0.05
    sx = side * r
    for dx in (-ex, ex):
        if eyes == "open":
            f.ell(cx + sx + dx, ey, r * 0.11, r * 0.16, 0.95, lw=0.4, line=0.9)
        elif eyes == "down":
            f.line([(cx + sx + dx - r * 0.14, ey + r * 0.02), (cx + sx + dx, ey - r * 0.06),
                    (cx + sx + dx + r * 0.14, ey + r * 0.02)], 0.55, 0.9, smooth=True)
        else:  # closed, happy
            f.line([(cx + sx + dx - r * 0.14, ey - r * 0.04), (cx + sx + dx, ey + r * 0.06),
                    (cx + sx + dx + r * 0.14, ey - r * 0.04)], 0.55, 0.9, smooth=True)
        f.line([(cx + sx + dx - r * 0.15, ey + r * 0.3), (cx + sx + dx + r * 0.13, ey + r * 0.33)],
               0.45, 0.55)
    f.line([(cx + sx + r * 0.03, ey - r * 0.22), (cx + sx - r * 0.04, ey - r * 0.34)], 0.45, 0.6)
    if mood == "smile":
        f.line([(cx + sx - r * 0.25, cy - r * 0.48), (cx + sx, cy - r * 0.6),
                (cx + sx + r * 0.25, cy - r * 0.48)], 0.55, 0.85, smooth=True)
    elif mood == "open":
        f.shape([(cx + sx - r * 0.26, cy - r * 0.46), (cx + sx + r * 0.26, cy - r * 0.46),
                 (cx + sx, cy - r * 0.72)], 0.8, lw=0.5)
    else:
        f.line([(cx + sx - r * 0.18, cy - r * 0.55), (cx + sx + r * 0.18, cy - r * 0.55)], 0.5, 0.8)


def crown(f, cx, cy, w, h, tone=0.25):
    pts = [(cx - w, cy), (cx + w, cy), (cx + w * 1.05, cy + h), (cx + w * 0.5, cy + h * 0.55),
           (cx, cy + h * 1.15), (cx - w * 0.5, cy + h * 0.55), (cx - w * 1.05, cy + h)]
    f.shape(pts, tone, hatch="vert", lw=0.7, smooth=False)
    for x in (-w * 1.05, 0, w * 1.05):
        f.ell(cx + x, cy + h * (1.15 if x == 0 else 1.0) + 1, 1.3, 1.3, 0.1, lw=0.5)
    f.line([(cx - w, cy + h * 0.25), (cx + w, cy + h * 0.25)], 0.5, 0.6)
