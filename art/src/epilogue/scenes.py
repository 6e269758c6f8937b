"""The eight scenes of the ending story, one function each, in picture order."""
import math

from pencil import W, ellipse, tube
from cast import (Fig, pau_back, jarte_back, yamamoto_back, seed_back, meg_back,
                  chams_back, chokkun, bird, face, crown, SKIN)


# ---------------------------------------------------------------------------
# shared scenery


def sky(s, y_end, top=0.24):
    """Light horizontal hatching that fades out towards the horizon."""
    n = 10
    for i in range(n):
        y0 = y_end * i / n - 1
        y1 = y_end * (i + 1) / n + 1
        s.tone_only([(-5, y0), (W + 5, y0), (W + 5, y1), (-5, y1)],
                    top - (top - 0.1) * i / (n - 1), hatch="flat", smooth=False)


def cloud(s, x, y, w, h, tone=0.0, line=0.45):
    pts = []
    n = 7
    for i in range(n + 1):
        a = math.pi + math.pi * i / n
        pts.append((x + w / 2 * math.cos(a), y + h * 0.8 * math.sin(a) * (1.0 if i % 2 else 0.75)))
    pts.append((x + w * 0.45, y + h * 0.25))
    pts.append((x - w * 0.45, y + h * 0.25))
    s.shape(pts, tone, hatch="flat", line=line, lw=0.6, shade=(0, 1, 0.12))


def grass(s, x, y, size=1.0, dark=0.7):
    rng = s.rng
    for i in range(5):
        a = math.radians(-90 + rng.uniform(-35, 35))
        ln = size * rng.uniform(3, 6)
        x0 = x + rng.uniform(-1.5, 1.5) * size
        s.stroke([(x0, y), (x0 + math.cos(a) * ln * 0.5 + rng.uniform(-1, 1), y + math.sin(a) * ln * 0.6),
                  (x0 + math.cos(a) * ln, y + math.sin(a) * ln)], 0.5, dark, passes=1,
                 smooth=True, overshoot=False)


def ground_tufts(s, y0, y1, count, x0=0, x1=W, avoid=None):
    rng = s.rng
    for _ in range(count):
        y = rng.uniform(y0, y1)
        x = rng.uniform(x0, x1)
        if avoid and avoid(x, y):
            continue
        grass(s, x, y, 0.4 + 0.9 * (y - y0) / max(1, y1 - y0), 0.55)


def rails(s, vx, vy, xl, xr, y_bottom, sleepers=14, near=1.0, far=9.0):
    """A straight track running to a vanishing point (vx, vy)."""
    def at(y):
        f = (y - vy) / (y_bottom - vy)
        return vx + (xl - vx) * f, vx + (xr - vx) * f

    # sleepers: evenly spaced in depth
    for i in range(sleepers):
        z = near + (far - near) * i / (sleepers - 1)
        y = vy + (y_bottom - vy) / z
        th = 4.0 / z
        a, b = at(y)
        ext = (b - a) * 0.18
        s.shape([(a - ext, y), (b + ext, y), (b + ext, y - th), (a - ext, y - th)], 0.5,
                hatch="flat", lw=0.6 if z > 3 else 0.8, smooth=False)
    for side in (0, 1):
        xa = at(y_bottom + 2)[side]
        s.stroke([(xa - 1.2, y_bottom + 2), (vx - 0.3, vy + 1)], 1.0, 0.9, passes=2, wobble=0.15)
        s.stroke([(xa + 1.4, y_bottom + 2), (vx + 0.3, vy + 1)], 0.7, 0.7, passes=1, wobble=0.15)


# ---------------------------------------------------------------------------
# 3: the heroes set off down the iron road (title and credits)


def heroes(s):
    hor = 118
    # sky: light hatching high up, clouds
    sky(s, 100)
    cloud(s, 45, 42, 60, 14)
    cloud(s, 150, 70, 44, 10)
    # distant hills and a far wood
    s.shape([(-5, hor + 2), (-5, 100), (25, 92), (55, 100), (80, 94), (110, 104), (140, 90),
             (175, 96), (200, 88), (200, hor + 2)], 0.3, hatch="diag", shade=(1, 0.2, 0.12),
            lw=0.6, line=0.6)
    s.shape([(-5, hor + 4), (-5, 110), (10, 107), (30, 111), (60, 109), (90, 114), (110, 115),
             (140, 110), (170, 108), (200, 111), (200, hor + 4)], 0.48, hatch="vert", lw=0.6,
            line=0.6)
    # meadow
    s.shape([(-5, hor), (200, hor), (200, 310), (-5, 310)], 0.1, hatch="shallow",
            shade=(0, 1, 0.1), line=0, smooth=False)
    rails(s, 100, hor, 32, 168, 305, sleepers=16, far=12.0)
    # telegraph poles along the line, wires sagging between them
    tops = []
    for i in range(7):
        z = 1.5 + i * 1.4
        x = 100 + 125 / z
        yb = hor + 140 / z
        ht = 110 / z
        s.stroke([(x, yb), (x + 0.3, yb - ht)], 0.9 if z < 3 else 0.6, 0.85, passes=1)
        s.stroke([(x - 7 / z, yb - ht + 4 / z), (x + 7 / z, yb - ht + 4 / z)], 0.7, 0.8, passes=1)
        tops.append((x, yb - ht + 4 / z))
    for i, ((xa, ya), (xb, yb2)) in enumerate(zip(tops, tops[1:])):
        s.stroke([(xa, ya), ((xa + xb) / 2, (ya + yb2) / 2 + 4 / (1 + i)), (xb, yb2)],
                 0.4, 0.55, passes=1, smooth=True)
    # a far copse on the left
    for x, y, r in ((14, 124, 6), (28, 122, 8), (42, 125, 5)):
        tree(s, x, y, r, tone=0.55)
    ground_tufts(s, hor + 20, 300, 45, avoid=lambda x, y: abs(x - 100) < (y - hor) * 0.48)
    # back row
    for (x, y, r) in ((48, 246, 17), (98, 248, 19), (150, 245, 17)):
        s.soft(ellipse(x, y, r, 3), 0.22, 1.5)
    jarte_back(Fig(s, 48, 246, 94))
    yamamoto_back(Fig(s, 150, 245, 92))
    pau_back(Fig(s, 98, 248, 100))
    # front row
    for (x, y, r) in ((24, 299, 18), (74, 299, 15), (124, 300, 16), (170, 301, 11)):
        s.soft(ellipse(x, y, r, 3), 0.25, 1.5)
    seed_back(Fig(s, 24, 298, 84))
    meg_back(Fig(s, 74, 299, 70))
    chams_back(Fig(s, 124, 300, 72))
    chokkun(Fig(s, 170, 302, 34))
    bird(s, 34, 150, 1.0, flip=True)
    bird(s, 172, 136, 0.8)


def tower(s, x, y_base, w, h, roof_h, tone=0.12, flag=True, windows=1):
    """A round castle tower with a pointed roof and a pennant."""
    s.shape([(x - w / 2, y_base), (x - w / 2, y_base - h), (x + w / 2, y_base - h),
             (x + w / 2, y_base)], tone, hatch="vert", shade=(1, 0, 0.25), lw=0.7, smooth=False)
    top = y_base - h
    s.shape([(x - w / 2 - 1.5, top + 0.5), (x, top - roof_h), (x + w / 2 + 1.5, top + 0.5)], 0.5,
            hatch="steep", shade=(1, 0, 0.2), lw=0.7, smooth=False)
    for i in range(windows):
        wy = top + 5 + i * 9
        s.shape([(x - 1, wy + 3.5), (x - 1, wy + 0.8), (x, wy), (x + 1, wy + 0.8), (x + 1, wy + 3.5)],
                0.9, lw=0.4, smooth=False)
    if flag:
        py = top - roof_h
        s.stroke([(x, py), (x, py - 7)], 0.5, 0.85, passes=1)
        s.shape([(x, py - 7), (x + 7, py - 5.5), (x + 4, py - 4.8), (x, py - 4)], 0.35, lw=0.5,
                smooth=False)


def wall(s, x0, x1, y_base, h, tone=0.1):
    s.shape([(x0, y_base), (x0, y_base - h), (x1, y_base - h), (x1, y_base)], tone, hatch="vert",
            shade=(1, 0, 0.15), lw=0.7, smooth=False)
    x = x0
    while x < x1 - 2:
        s.shape([(x, y_base - h), (x, y_base - h - 2.5), (x + 2.5, y_base - h - 2.5),
                 (x + 2.5, y_base - h)], tone, lw=0.5, smooth=False)
        x += 5


def house(s, x, y, w, h, roof, tone=0.08, roof_tone=0.45, door=True, steep=1.0):
    s.shape([(x, y), (x, y - h), (x + w, y - h), (x + w, y)], tone, hatch="vert",
            shade=(1, 0, 0.2), lw=0.6, smooth=False)
    s.shape([(x - 2, y - h + 0.5), (x + w / 2, y - h - roof * steep), (x + w + 2, y - h + 0.5)],
            roof_tone, hatch="steep", lw=0.6, smooth=False)
    if door:
        s.shape([(x + w * 0.35, y), (x + w * 0.35, y - h * 0.55), (x + w * 0.6, y - h * 0.55),
                 (x + w * 0.6, y)], 0.7, lw=0.4, smooth=False)


# ---------------------------------------------------------------------------
# 0: the small kingdom and its hard-working king


def kingdom(s):
    sky(s, 70)
    cloud(s, 150, 34, 50, 11)
    # far hills, then the castle hill
    s.shape([(-5, 120), (-5, 92), (30, 84), (70, 95), (120, 80), (160, 88), (200, 78), (200, 120)],
            0.28, hatch="diag", lw=0.6, line=0.6)
    s.shape([(-5, 320), (-5, 118), (30, 104), (70, 96), (110, 98), (150, 108), (200, 120),
             (200, 320)], 0.14, hatch="shallow", shade=(1, 0.3, 0.12), lw=0.8)
    # the castle
    wall(s, 52, 140, 104, 16)
    tower(s, 66, 94, 11, 30, 14, windows=2)
    tower(s, 126, 96, 11, 26, 12, windows=2)
    s.shape([(84, 96), (84, 62), (108, 62), (108, 96)], 0.1, hatch="vert", shade=(1, 0, 0.25),
            lw=0.8, smooth=False)
    tower(s, 96, 64, 12, 22, 17, windows=2)
    for x in (87, 101):
        s.shape([(x, 76), (x, 71), (x + 2, 69.5), (x + 4, 71), (x + 4, 76)], 0.9, lw=0.4, smooth=False)
    s.shape([(90, 104), (90, 94), (96, 89), (102, 94), (102, 104)], 0.85, lw=0.6, smooth=False)
    tower(s, 56, 104, 8, 20, 10, flag=False)
    tower(s, 138, 104, 8, 18, 10, flag=False)
    # town roofs on the slope
    rng = s.rng
    for (x, y) in ((20, 124), (36, 121), (150, 126), (166, 130), (28, 138), (176, 142),
                   (44, 134), (140, 138), (10, 146)):
        house(s, x, y, rng.uniform(9, 12), rng.uniform(6, 8), rng.uniform(5, 7), door=False)
    s.stroke([(94, 104), (84, 114), (64, 124), (46, 140), (40, 156)], 0.7, 0.6, smooth=True)
    s.stroke([(99, 104), (90, 116), (70, 127), (54, 141), (50, 156)], 0.7, 0.6, smooth=True)
    # the king at his desk, busy with papers
    k = Fig(s, 96, 305, 160)
    k.shape([(-40, 0), (-34, 40), (-22, 58), (-6, 62), (6, 62), (22, 58), (34, 40), (40, 0)],
            0.6, hatch="vert", shade=(1, 0.2, 0.2), lw=1.0)
    k.shape([(-24, 58), (-10, 63), (0, 56), (10, 63), (24, 58), (20, 48), (8, 44), (0, 38),
             (-8, 44), (-20, 48)], 0.04, lw=0.9)
    for (x, y) in ((-16, 52), (-8, 49), (9, 50), (17, 53), (0, 46), (-3, 57), (4, 57)):
        k.ell(x, y, 0.9, 1.5, 0.95, lw=0.3)
    k.ell(0, 73, 11, 12.5, SKIN, shade=(1, 0.2, 0.1))
    # beard and moustache
    k.shape([(-10, 72), (-9, 62), (-4, 54), (0, 50), (4, 54), (9, 62), (10, 72), (5, 66), (0, 66),
             (-5, 66)], 0.06, lw=0.8)
    for x in (-5, 0, 5):
        k.line([(x, 64), (x * 0.9, 56)], 0.4, 0.5)
    k.shape([(-7, 67.5), (0, 69.5), (7, 67.5), (4, 66), (0, 67), (-4, 66)], 0.1, lw=0.6)
    for dx in (-4.2, 4.2):
        k.line([(dx - 1.8, 74.2), (dx, 73.2), (dx + 1.8, 74.2)], 0.6, 0.9, smooth=True)
        k.line([(dx - 2.5, 77.5), (dx, 78.5), (dx + 2.5, 77.8)], 0.6, 0.8, smooth=True)
        k.line([(dx - 1.6, 71.3), (dx + 1.6, 71.1)], 0.35, 0.5)
    k.line([(0.5, 73), (1.5, 69.5), (-0.5, 69.3)], 0.5, 0.7)
    for sx in (-1, 1):
        k.ell(11.5 * sx, 72, 1.8, 3, SKIN, lw=0.6)
        k.shape([(10 * sx, 80), (12.5 * sx, 78), (12 * sx, 70), (10.5 * sx, 66)], 0.07, lw=0.6)
    crown(k, 0, 83, 10, 9)
    # the desk and its towers of papers
    k.shape([(-70, 30), (70, 30), (70, -10), (-70, -10)], 0.55, hatch="flat", shade=(1, 0, 0.15),
            lw=1.0, smooth=False)
    k.shape([(-70, 30), (70, 30), (70, 26), (-70, 26)], 0.3, lw=0.8, smooth=False)
    y = 30
    for i in range(9):
        dx = rng.uniform(-2.5, 2.5)
        k.shape([(-50 + dx, y), (-26 + dx, y), (-25 + dx, y + 3.6), (-49 + dx, y + 3.6)], 0.03,
                lw=0.6, smooth=False)
        y += 3.6
    y = 30
    for i in range(6):
        dx = rng.uniform(-2, 2)
        k.shape([(28 + dx, y), (50 + dx, y), (51 + dx, y + 3.6), (29 + dx, y + 3.6)], 0.03,
                lw=0.6, smooth=False)
        y += 3.6
    # the sheet he is signing, hand and quill
    k.shape([(-16, 31), (14, 31), (12, 42), (-14, 42)], 0.0, lw=0.7, smooth=False)
    for i in range(4):
        k.line([(-11, 39 - i * 2.2), (8 - (i % 2) * 5, 39 - i * 2.2)], 0.35, 0.5, passes=1)
    k.limb([(24, 50), (22, 38), (10, 35)], 10, 8, 0.6, lw=0.9)
    k.ell(7, 35, 4, 3.2, SKIN, lw=0.7)
    k.shape([(6, 36), (10, 44), (17, 57), (18, 56), (13, 46), (8, 36)], 0.05, lw=0.6)
    k.limb([(-24, 50), (-28, 38), (-18, 34)], 10, 8, 0.6, lw=0.9)
    k.ell(-15, 34.5, 4, 3, SKIN, lw=0.7)
    # an ink pot
    k.ell(-6, 33, 4, 3, 0.85, lw=0.6)


def princess_upper(k, mood="smile", eyes="down"):
    """The princess from the waist up (the cheerful girl of old, grown up)."""
    k.shape([(-15, 80), (-17, 66), (-18, 54), (-12, 50), (12, 50), (18, 54), (17, 66), (15, 80),
             (0, 92)], 0.3, hatch="steep", lw=0.9)
    k.shape([(-20, 0), (-22, 30), (-25, 50), (-12, 56), (0, 54), (12, 56), (25, 50), (22, 30),
             (20, 0)], 0.2, hatch="vert", shade=(1, 0.2, 0.2), lw=1.0)
    k.shape([(-11, 55), (0, 44), (11, 55), (6, 57), (0, 52), (-6, 57)], SKIN, lw=0.7)
    k.line([(-6, 53), (0, 45), (6, 53)], 0.4, 0.6, smooth=True)
    k.shape([(0, 46.5), (1, 44), (3.5, 44), (1.5, 42.5), (2.3, 40), (0, 41.5), (-2.3, 40),
             (-1.5, 42.5), (-3.5, 44), (-1, 44)], 0.3, lw=0.5, smooth=False)
    for sx in (-1, 1):
        k.ell(25 * sx, 50, 8, 7, 0.08, shade=(1, 1, 0.2), lw=0.8)
        k.line([(21 * sx, 47), (25 * sx, 52), (29 * sx, 47)], 0.4, 0.5, smooth=True)
    k.ell(0, 60, 4, 5, SKIN, lw=0.7)
    face(k, 0, 72, 12, mood=mood, eyes=eyes)
    # fringe, side locks and the two small bunches with ribbons
    k.shape([(-12.5, 70), (-13, 79), (-8, 85), (0, 86.5), (8, 85), (13, 79), (12.5, 70), (10, 77),
             (5, 79), (2, 76), (-1, 79), (-6, 78), (-10, 76)], 0.3, hatch="steep", lw=0.8)
    for sx in (-1, 1):
        k.shape([(12.5 * sx, 76), (14 * sx, 64), (13 * sx, 57), (10.5 * sx, 60), (11 * sx, 68)],
                0.3, hatch="steep", lw=0.7)
        k.shape([(13 * sx, 78), (17 * sx, 76), (19 * sx, 70), (18 * sx, 64), (15.5 * sx, 67),
                 (13 * sx, 73)], 0.3, hatch="steep", lw=0.7)
        for d in (-1, 1):
            k.shape([(14.5 * sx, 77.5), ((14.5 + 3.2 * d) * sx, 80), ((14.5 + 3.4 * d) * sx, 75.5)],
                    0.05, lw=0.45, smooth=False)
        k.ell(14.5 * sx, 77.5, 1.1, 1.1, 0.3, lw=0.4)
    for x in (-4, 0, 4):
        k.line([(x, 85), (x * 1.3, 79)], 0.4, 0.5)
    # a small tiara
    k.shape([(-6, 85), (6, 85), (7, 88), (3.5, 87), (0, 91), (-3.5, 87), (-7, 88)], 0.12, lw=0.6,
            smooth=False)
    k.dot(0, 88, 0.45)


# ---------------------------------------------------------------------------
# 2: the princess reads the letter


def letter(s):
    s.shape([(-5, -5), (200, -5), (200, 310), (-5, 310)], 0.34, hatch="vert", line=0, smooth=False)
    # tall arched window with a view of the hills
    arch = [(34, 215)] + ellipse(96, 70, 62, 52, a0=180, a1=360, n=16) + [(158, 215)]
    s.shape(arch, 0.18, hatch="vert", lw=1.0, smooth=False)
    glass = [(42, 215)] + ellipse(96, 72, 54, 45, a0=180, a1=360, n=16) + [(150, 215)]
    s.shape(glass, 0.02, line=0.8, lw=0.8, smooth=False)
    s.tone_only([(42, 20), (150, 20), (150, 60), (42, 75)], 0.16, hatch="flat", smooth=False)
    cloud(s, 75, 62, 34, 8)
    s.shape([(42, 150), (60, 132), (90, 140), (120, 126), (150, 134), (150, 215), (42, 215)], 0.22,
            hatch="diag", lw=0.6, line=0.6)
    tower(s, 128, 136, 6, 12, 7, windows=1)
    s.stroke([(96, 24), (96, 215)], 0.9, 0.8)
    s.stroke([(42, 120), (150, 120)], 0.9, 0.8)
    bird(s, 62, 100, 1.0)
    bird(s, 80, 90, 0.8, flip=True)
    # curtains, gathered with cords
    for sx, x0 in ((1, 0), (-1, 192)):
        c = [(x0, -5), (x0 + sx * 42, -5), (x0 + sx * 36, 60), (x0 + sx * 30, 110),
             (x0 + sx * 20, 126), (x0 + sx * 30, 150), (x0 + sx * 40, 240), (x0 + sx * 38, 310),
             (x0, 310)]
        s.shape(c, 0.42, hatch="vert", shade=(sx, 0, -0.15), lw=1.0)
        for i in range(4):
            xx = x0 + sx * (6 + i * 8)
            s.stroke([(xx, 0), (xx + sx * (i * 1.5), 60), (x0 + sx * (8 + i * 3), 122),
                      (xx + sx * 3, 200), (xx + sx * 2, 305)], 0.5, 0.55, passes=1, smooth=True)
        s.shape(ellipse(x0 + sx * 22, 126, 5, 3.5), 0.7, lw=0.6)
    # the window sill
    s.shape([(26, 215), (166, 215), (170, 224), (22, 224)], 0.3, hatch="flat", lw=0.9, smooth=False)
    k = Fig(s, 96, 318, 180)
    princess_upper(k, mood="smile", eyes="down")
    # arms up to the letter held in both hands
    for sx in (-1, 1):
        k.limb([(25 * sx, 46), (26 * sx, 30), (16 * sx, 22)], 8, 6.5, 0.08, lw=0.8)
    k.shape([(-19, 16), (18, 14), (20, 40), (-17, 43)], 0.0, lw=0.9, smooth=False)
    k.line([(-17, 42), (-15, 38), (-19, 16)], 0.4, 0.4, smooth=True)
    for i in range(7):
        y = 37 - i * 3.1
        k.line([(-13, y + 0.4), (12 - (i % 3) * 4, y)], 0.35, 0.55, passes=1, wobble=0.6)
    for sx in (-1, 1):
        k.ell(17.5 * sx, 24, 3.6, 4.4, SKIN, lw=0.7)
    # the opened envelope with its seal on the sill
    s.shape([(122, 226), (150, 222), (152, 238), (124, 242)], 0.03, lw=0.8, smooth=False)
    s.stroke([(122, 226), (137, 234), (150, 222)], 0.6, 0.7)
    s.shape(ellipse(137, 234, 3, 2.6), 0.8, lw=0.5, smooth=False)


# ---------------------------------------------------------------------------
# 7: the princess runs out of the castle to go crayfish fishing


def fishing(s):
    sky(s, 40)
    # the castle gate behind her
    s.shape([(-5, 128), (-5, 38), (200, 38), (200, 128)], 0.22, hatch="vert", shade=(1, 0, 0.1),
            lw=0.9, smooth=False)
    for y in range(46, 128, 9):
        off = 0 if (y // 9) % 2 else 6
        for x in range(-6 + off, 200, 12):
            s.stroke([(x, y), (x, y + 9)], 0.35, 0.4, passes=1, overshoot=False)
        s.stroke([(-5, y), (200, y)], 0.35, 0.4, passes=1, overshoot=False)
    x = -5
    while x < 200:
        s.shape([(x, 38), (x, 32), (x + 7, 32), (x + 7, 38)], 0.22, lw=0.6, smooth=False)
        x += 12
    tower(s, 18, 128, 30, 98, 24, tone=0.26, windows=3)
    tower(s, 174, 128, 30, 98, 24, tone=0.26, windows=3)
    gate = [(40, 128)] + ellipse(64, 88, 24, 22, a0=180, a1=360, n=12) + [(88, 128)]
    s.shape(gate, 0.86, hatch="vert", lw=1.1, smooth=False)
    for xx in range(44, 86, 6):
        s.stroke([(xx, 70 + abs(xx - 64) * 0.5), (xx, 84)], 0.5, 0.75, passes=1)
    s.stroke([(42, 84), (86, 84)], 0.5, 0.75, passes=1)
    # a flustered maid in the gateway
    m = Fig(s, 60, 126, 34)
    m.shape([(-9, 44), (9, 44), (16, 0), (-16, 0)], 0.08, lw=0.6)
    m.shape([(-7, 40), (7, 40), (8, 18), (-8, 18)], 0.0, lw=0.5)
    for sx in (-1, 1):
        m.limb([(8 * sx, 42), (16 * sx, 56), (18 * sx, 68)], 5, 4, 0.08, lw=0.5)
    face(m, 0, 56, 9, mood="open", eyes="open")
    m.shape([(-9, 60), (0, 68), (9, 60), (6, 58), (0, 61), (-6, 58)], 0.06, lw=0.5)
    # the path out of the gate
    s.shape([(-5, 310), (-5, 128), (200, 128), (200, 310)], 0.1, hatch="shallow", line=0,
            smooth=False)
    s.stroke([(40, 129), (20, 200), (-5, 280)], 0.9, 0.7, smooth=True)
    s.stroke([(88, 129), (140, 210), (200, 280)], 0.9, 0.7, smooth=True)
    for (x, y) in ((36, 150), (20, 180), (14, 240), (170, 160), (180, 230), (160, 290)):
        grass(s, x, y, 1.2, 0.6)
    for (x, y) in ((24, 206), (170, 196), (10, 270)):
        for a in range(5):
            ang = math.radians(a * 72)
            s.shape(ellipse(x + 2 * math.cos(ang), y + 2 * math.sin(ang), 1.5, 1.5), 0.02, lw=0.4)
        s.dots([(x, y)], 0.6)
    # speed strokes behind her
    for i, (x, y) in enumerate(((52, 140), (150, 146), (44, 170), (156, 178), (60, 118))):
        s.stroke([(x, y), (x + (4 if x > 96 else -4), y - 14)], 0.5, 0.45, passes=1)
    k = Fig(s, 112, 182, 118)
    # skirt flying, one foot forward, one kicked up behind
    k.limb([(8, -30), (14, -52), (24, -60)], 6, 5, SKIN, lw=0.7)
    k.ell(26, -61, 5, 3, 0.7, rot=-20, lw=0.7)
    k.limb([(-6, -30), (-8, -54), (-9, -68)], 6.5, 5.5, SKIN, lw=0.7)
    k.ell(-10, -70, 5.5, 3.2, 0.7, lw=0.7)
    princess_upper(k, mood="open", eyes="closed")
    k.shape([(-17, 24), (17, 24), (30, -20), (42, -48), (26, -50), (12, -56), (-4, -52),
             (-22, -56), (-36, -48), (-28, -18)], 0.16, hatch="vert", shade=(1, 0.3, 0.2), lw=1.0)
    for x0, x1 in ((-6, -16), (4, 8), (12, 26), (-14, -30)):
        k.line([(x0 * 0.5, 20), (x1, -48)], 0.5, 0.5, smooth=False)
    k.shape([(-36, -48), (-22, -56), (-4, -52), (12, -56), (26, -50), (42, -48), (40, -44),
             (24, -45), (11, -50), (-4, -46), (-21, -50), (-34, -43)], 0.3, lw=0.6)
    k.shape([(-18, 27), (18, 27), (18, 22), (-18, 22)], 0.4, lw=0.7, smooth=False)
    # right arm swung up with the rod over her shoulder, left arm with the bucket
    k.limb([(25, 46), (34, 36), (30, 58)], 7, 6, 0.08, lw=0.8)
    k.ell(29, 60, 3.6, 4, SKIN, lw=0.7)
    k.line([(24, 54), (40, 90), (58, 124)], 0.9, 0.9, smooth=True)
    s.stroke(k.P([(58, 124), (64, 100), (66, 80), (65, 68)]), 0.35, 0.55, passes=1, smooth=True)
    s.shape(ellipse(*k.P([(65, 66)])[0], 2.2, 1.8), 0.7, lw=0.5)
    k.limb([(-25, 46), (-34, 30), (-36, 14)], 7, 6, 0.08, lw=0.8)
    k.ell(-36, 12, 3.6, 4, SKIN, lw=0.7)
    k.line([(-44, 0), (-36, 10), (-28, 0)], 0.5, 0.8, smooth=True)
    k.shape([(-47, 1), (-25, 1), (-28, -20), (-44, -20)], 0.3, hatch="vert", shade=(1, 0, 0.2),
            lw=0.9, smooth=False)
    k.ell(-36, 1, 11, 2.5, 0.6, lw=0.7)
    for y in (-6, -14):
        k.line([(-46, y), (-26, y)], 0.4, 0.55)
    # little dust puffs at her heel
    for (x, y, r) in ((-22, -72, 5), (-30, -70, 3.5), (-16, -74, 3)):
        k.shape(ellipse(x, y, r, r * 0.7), 0.0, line=0.45, lw=0.5, smooth=False)


# ---------------------------------------------------------------------------
# 6: the old friend leaves his village for the castle


def journey(s):
    sky(s, 55)
    cloud(s, 50, 30, 46, 10)
    cloud(s, 160, 48, 36, 8)
    s.shape([(-5, 90), (-5, 72), (40, 62), (80, 70), (130, 56), (200, 66), (200, 90)], 0.3,
            hatch="diag", lw=0.6, line=0.6)
    # the castle far away on its hill
    wall(s, 112, 140, 70, 6, tone=0.25)
    tower(s, 116, 66, 5, 12, 6, tone=0.25, windows=0)
    tower(s, 126, 62, 6, 16, 8, tone=0.25, windows=0)
    tower(s, 137, 66, 5, 11, 6, tone=0.25, windows=0)
    s.shape([(-5, 320), (-5, 86), (40, 78), (90, 84), (140, 72), (200, 80), (200, 320)], 0.1,
            hatch="shallow", shade=(0, 1, 0.1), lw=0.8)
    # the road winding towards it
    road = tube([(100, 320), (104, 250), (82, 196), (118, 150), (96, 114), (124, 86)], 120, 3,
                steps=10)
    s.shape(road, 0.03, lw=0.8, line=0.75, smooth=False)
    for (x, y) in ((90, 280), (112, 262), (96, 236), (88, 204), (108, 176), (104, 140)):
        s.stroke([(x, y), (x + 4, y - 0.5)], 0.4, 0.35, passes=1)
    for (x, y, r) in ((170, 112, 9), (40, 128, 10), (184, 132, 12), (16, 150, 15)):
        tree(s, x, y, r)
    ground_tufts(s, 110, 300, 40, avoid=lambda x, y: 60 < x < 160)
    # a signpost at the roadside
    s.shape([(154, 250), (154, 205), (157, 205), (157, 250)], 0.45, hatch="vert", lw=0.7,
            smooth=False)
    s.shape([(142, 210), (166, 206), (172, 212), (166, 216), (142, 218)], 0.12, lw=0.7,
            smooth=False)
    s.stroke([(147, 212), (163, 210.5)], 0.4, 0.7, passes=1)
    f = Fig(s, 96, 296, 150)
    s.soft(ellipse(96, 296, 22, 4), 0.3, 1.5)
    chams_back(f, arms_up=False, stride=True)
    # bucket in his right hand, a crayfish net over his left shoulder
    f.line([(12, 40), (18, 36), (24, 40)], 0.6, 0.85, smooth=True)
    f.shape([(9, 36), (27, 36), (25, 20), (11, 20)], 0.35, hatch="vert", shade=(1, 0, 0.2),
            lw=0.9, smooth=False)
    f.ell(18, 36, 9, 2, 0.7, lw=0.6)
    f.line([(20, 36), (24, 44), (27, 41)], 0.5, 0.8, smooth=True)
    # The net leans out over the meadow, clear of the road's edges, with a rim of
    # bare paper round it so its hoop and mesh read as one shape at 1x.
    def net(sk):
        g = Fig(sk, f.x, f.y, f.k * 100)
        g.line([(-16, 40), (-18, 80), (-20, 112)], 1.1, 0.9, smooth=True)
        hoop = ellipse(-21, 123, 7.5, 10, rot=18, n=24)
        lower = [p for p in hoop if p[1] < 124]
        tip = (-24, 100)
        g.shape(lower + [tip], 0.1, hatch="back", lw=0.6)
        for t in (0.3, 0.7):
            i = int(len(lower) * t)
            g.line([lower[i], tip], 0.3, 0.45, passes=1)
        g.line(hoop + [hoop[0]], 0.8, 0.9, passes=1)
    s.clear_for(net, 1.2)
    net(s)
    chokkun(Fig(s, 140, 300, 32))


# ---------------------------------------------------------------------------
# 5: the huge iron serpent at the end of the iron road


def serpent(s):
    sky(s, 70)
    s.shape([(-5, 120), (-5, 96), (40, 84), (90, 92), (140, 76), (200, 86), (200, 120)], 0.3,
            hatch="diag", lw=0.6, line=0.6)
    s.shape([(-5, 320), (-5, 116), (200, 112), (200, 320)], 0.12, hatch="shallow", line=0,
            smooth=False)
    # the carriages, winding away like the body of a snake
    path = [(96, 90), (114, 84), (134, 82), (156, 86), (180, 96)]
    sizes = [4, 5, 6.5, 8.5, 11]
    for (x, y), sz in zip(path, sizes):
        s.shape([(x - sz, y + sz * 0.5), (x - sz, y - sz * 0.6), (x - sz * 0.8, y - sz * 0.9),
                 (x + sz * 0.8, y - sz * 0.9), (x + sz, y - sz * 0.6), (x + sz, y + sz * 0.5)],
                0.4, hatch="vert", shade=(1, 0, 0.2), lw=0.6 if sz < 12 else 0.8, smooth=False)
        for i in range(3):
            wx = x - sz * 0.7 + i * sz * 0.5
            s.shape([(wx, y - sz * 0.5), (wx + sz * 0.35, y - sz * 0.5), (wx + sz * 0.35, y),
                     (wx, y)], 0.85, lw=0.4, smooth=False)
        s.shape(ellipse(x - sz * 0.6, y + sz * 0.55, sz * 0.22, sz * 0.22), 0.8, lw=0.4)
        s.shape(ellipse(x + sz * 0.6, y + sz * 0.55, sz * 0.22, sz * 0.22), 0.8, lw=0.4)
    # the engine: boiler, cab and a round smokebox face
    s.shape([(124, 104), (170, 104), (170, 200), (124, 200)], 0.55, hatch="vert",
            shade=(1, 0, 0.2), lw=1.0, smooth=False)
    s.shape([(129, 110), (165, 110), (165, 136), (129, 136)], 0.88, lw=0.8, smooth=False)
    s.stroke([(147, 110), (147, 136)], 0.8, 0.3)
    s.shape([(119, 98), (175, 98), (175, 106), (119, 106)], 0.5, lw=0.8, smooth=False)
    # driving wheels under the boiler, coupled by a side rod
    for (x, r) in ((150, 22), (108, 24)):
        s.shape(ellipse(x, 214, r * 0.75, r), 0.5, hatch="diag", shade=(1, 0.5, 0.2), lw=1.0)
        s.shape(ellipse(x, 214, r * 0.55, r * 0.76), 0.15, lw=0.7)
        for a in range(0, 180, 30):
            ra = math.radians(a)
            s.stroke([(x - math.cos(ra) * r * 0.55, 214 - math.sin(ra) * r * 0.76),
                      (x + math.cos(ra) * r * 0.55, 214 + math.sin(ra) * r * 0.76)], 0.6, 0.75,
                     passes=1, overshoot=False)
        s.shape(ellipse(x, 214, 3, 4), 0.7, lw=0.5)
    s.shape(tube([(104, 222), (152, 220)], 3.5, 3.5), 0.6, lw=0.7, smooth=False)
    # the boiler runs back from the smokebox, a long iron barrel
    s.shape([(56, 110), (132, 98), (132, 200), (56, 210)], 0.42, hatch="flat",
            shade=(0, 1, 0.35), lw=1.0, smooth=False)
    s.tone_only([(56, 128), (132, 114), (132, 124), (56, 140)], 0.12, hatch="flat", smooth=False)
    for x in (76, 100, 122):
        yt = 110 - (x - 56) * 0.157
        yb = 210 - (x - 56) * 0.13
        s.stroke([(x - 1, yt), (x + 2, (yt + yb) / 2), (x - 1, yb)], 0.7, 0.6, passes=1,
                 smooth=True)
    # steam dome and sand box on top
    s.shape([(84, 106), (86, 94), (98, 92), (100, 104)], 0.45, hatch="vert", lw=0.9)
    s.shape([(106, 103), (108, 92), (120, 91), (122, 101)], 0.45, hatch="vert", lw=0.9)
    s.shape(ellipse(56, 160, 42, 50), 0.6, hatch="diag", shade=(1, 0.4, 0.25), lw=1.2)
    s.shape(ellipse(56, 160, 33, 40), 0.45, hatch="diag", shade=(1, 0.4, 0.25), lw=0.9)
    for a in range(0, 360, 30):
        r = math.radians(a)
        s.dots([(56 + 37.5 * math.cos(r), 160 + 45 * math.sin(r))], 1.0, 0.9)
    s.shape(ellipse(56, 160, 5, 5), 0.7, lw=0.7)
    s.stroke([(46, 160), (66, 160)], 1.0, 0.85)
    s.shape([(46, 110), (66, 110), (70, 74), (42, 74)], 0.62, hatch="vert", lw=1.0, smooth=False)
    s.shape(ellipse(56, 74, 15, 4), 0.7, lw=0.9)
    s.shape(ellipse(56, 104, 8, 7), 0.05, lw=0.8)
    s.shape(ellipse(56, 104, 4, 3.5), 0.0, lw=0.5)
    # buffer beam, buffers and the cowcatcher
    s.shape([(6, 206), (110, 202), (110, 220), (6, 224)], 0.7, hatch="flat", lw=1.0, smooth=False)
    for x in (14, 100):
        s.shape(ellipse(x, 213, 8, 8), 0.35, shade=(1, 1, 0.3), lw=0.9)
    s.shape([(20, 222), (96, 219), (84, 246), (32, 248)], 0.2, line=0.9, lw=0.9, smooth=False)
    for i in range(8):
        xa = 22 + i * 10.5
        s.stroke([(xa, 222), (34 + i * 7, 247)], 0.6, 0.75, passes=1)
    # ivy hanging over the iron: nobody has moved it for an age
    rng = s.rng
    for x0, y0, ln in ((24, 126), (92, 112), (132, 70), (160, 70), (70, 100)) and \
            ((24, 126, 40), (92, 112, 60), (132, 106, 50), (160, 106, 36), (76, 98, 30)):
        pts = [(x0 + rng.uniform(-3, 3), y0 + t) for t in range(0, ln, 8)]
        s.stroke(pts, 0.5, 0.7, passes=1, smooth=True)
        for (x, y) in pts[1:]:
            s.shape(ellipse(x + rng.choice([-2.5, 2.5]), y, 2.2, 1.5, rot=rng.uniform(-40, 40)),
                    0.3, lw=0.4)
    ground_tufts(s, 230, 300, 30)
    # the heroes, dwarfed by it
    pau_back(Fig(s, 60, 294, 74))
    f = Fig(s, 60, 294, 74).narrow(0.84)
    for sx in (-1, 1):
        f.limb([(15 * sx, 78), (20 * sx, 92), (22 * sx, 104)], 7, 6, 0.08, lw=0.7)
    yamamoto_back(Fig(s, 20, 300, 66))
    meg_back(Fig(s, 110, 298, 54))
    chams_back(Fig(s, 148, 300, 56))
    chokkun(Fig(s, 178, 302, 22))


# ---------------------------------------------------------------------------
# 1: the quiet hot-spring village


def steam(s, x, y, height, sway=6.0, width=5.0):
    """A wisp of steam: graphite lifted in a soft wavy plume, a few faint curls."""
    rng = s.rng
    ph = rng.uniform(0, 6)
    left, right, mid = [], [], []
    for i in range(9):
        t = i / 8
        cx = x + math.sin(ph + t * 4.5) * sway * t
        w = width * (0.5 + 1.2 * t) * (1 - 0.5 * t * t)
        left.append((cx - w, y - height * t))
        right.append((cx + w, y - height * t))
        mid.append((cx, y - height * t))
    s.lighten(left + right[::-1], 0.85, blur=width * 0.35)
    s.stroke(left[1:6], 0.4, 0.3, passes=1, smooth=True)
    s.stroke(right[3:8], 0.4, 0.25, passes=1, smooth=True)
    s.stroke(mid[2:5], 0.35, 0.2, passes=1, smooth=True)


def bumpy(cx, cy, rx, ry, rng, bumps=9, depth=0.18):
    """An outline with soft bumps: foliage, bushes, clouds of steam."""
    pts = []
    for i in range(bumps * 3):
        a = 2 * math.pi * i / (bumps * 3)
        k = 1 + depth * (1 if i % 3 == 1 else -0.3) * rng.uniform(0.6, 1.2)
        pts.append((cx + rx * k * math.cos(a), cy + ry * k * math.sin(a)))
    return pts


def tree(s, x, y, r, tone=0.45, trunk=1.0):
    rng = s.rng
    h = r * 1.6 * trunk
    s.shape([(x - r * 0.14, y), (x - r * 0.1, y - h), (x + r * 0.1, y - h), (x + r * 0.16, y)],
            0.6, hatch="vert", lw=0.7, smooth=False)
    s.shape(bumpy(x, y - h - r * 0.55, r, r * 0.85, rng, bumps=11, depth=0.09), tone, hatch="steep",
            shade=(1, 0.6, 0.3), lw=0.8)
    for _ in range(3):
        a = rng.uniform(0, 2 * math.pi)
        px, py = x + math.cos(a) * r * 0.45, y - h - r * 0.55 + math.sin(a) * r * 0.4
        s.stroke([(px - r * 0.2, py), (px, py + r * 0.12), (px + r * 0.2, py)], 0.45, 0.5,
                 passes=1, smooth=True)


def inn(s, x, y, w, h, roof, tone=0.06, roof_tone=0.5, chimney=False):
    """A village house with a hipped, tiled roof and a lattice window."""
    s.shape([(x, y), (x, y - h), (x + w, y - h), (x + w, y)], tone, hatch="vert",
            shade=(1, 0, 0.25), lw=0.7, smooth=False)
    for i in range(1, 3):
        s.stroke([(x + w * i / 3, y - h), (x + w * i / 3, y)], 0.35, 0.35, passes=1)
    wx, wy = x + w * 0.15, y - h * 0.75
    ww, wh = w * 0.3, h * 0.4
    s.shape([(wx, wy), (wx + ww, wy), (wx + ww, wy + wh), (wx, wy + wh)], 0.7, lw=0.5,
            smooth=False)
    s.stroke([(wx + ww / 2, wy), (wx + ww / 2, wy + wh)], 0.3, 0.15, passes=1)
    s.shape([(x + w * 0.6, y), (x + w * 0.6, y - h * 0.65), (x + w * 0.85, y - h * 0.65),
             (x + w * 0.85, y)], 0.55, lw=0.5, smooth=False)
    top = y - h
    s.shape([(x - w * 0.12, top + 1), (x + w * 0.18, top - roof), (x + w * 0.82, top - roof),
             (x + w * 1.12, top + 1)], roof_tone, hatch="flat", shade=(1, 0.3, 0.2), lw=0.8,
            smooth=False)
    for i in range(1, 4):
        yy = top - roof + roof * i / 4
        f = i / 4
        s.stroke([(x + w * (0.18 - 0.3 * f), yy), (x + w * (0.82 + 0.3 * f), yy)], 0.35, 0.5,
                 passes=1)
    if chimney:
        s.shape([(x + w * 0.7, top - roof * 0.6), (x + w * 0.7, top - roof - 4),
                 (x + w * 0.78, top - roof - 4), (x + w * 0.78, top - roof * 0.6)], 0.5, lw=0.5,
                smooth=False)


def village(s):
    rng = s.rng
    sky(s, 60)
    cloud(s, 146, 22, 44, 9)
    # a far peak, then the wooded hills round the valley
    s.shape([(-5, 100), (-5, 62), (24, 40), (48, 52), (84, 16), (118, 46), (150, 34), (200, 58),
             (200, 100)], 0.24, hatch="diag", shade=(1, 0.2, 0.2), lw=0.8)
    s.erase([(84, 17), (74, 30), (80, 28), (86, 34), (92, 27), (97, 30)], smooth=False)
    s.stroke([(84, 16), (74, 30), (80, 28), (86, 34), (92, 27), (97, 30)], 0.5, 0.5, passes=1)
    ridge = [(-5, 300), (-5, 84)]
    x = -5
    while x < 205:
        ridge.append((x, 80 + 6 * math.sin(x / 23) + rng.uniform(-2, 2)))
        ridge.append((x + 4, 76 + 6 * math.sin(x / 23) + rng.uniform(-2, 2)))
        x += 8
    ridge += [(205, 300)]
    s.shape(ridge, 0.42, hatch="steep", shade=(0, 1, 0.15), lw=0.8, smooth=False)
    # the slope the village stands on
    s.shape([(-5, 300), (-5, 110), (50, 102), (120, 108), (200, 100), (200, 300)], 0.08,
            hatch="shallow", lw=0.8)
    # houses from the back down to the front, overlapping
    for (x, y, w, h, r, ch) in ((96, 118, 16, 8, 5, False), (128, 116, 18, 9, 6, True),
                                (150, 124, 22, 10, 7, False), (20, 122, 20, 9, 6, True),
                                (60, 124, 18, 9, 6, False), (110, 134, 24, 11, 8, False),
                                (36, 142, 26, 12, 8, True), (140, 150, 30, 13, 9, True),
                                (76, 152, 28, 12, 9, False)):
        inn(s, x, y, w, h, r, chimney=ch)
        if ch:
            steam(s, x + w * 0.74, y - h - r - 4, 14, 4, 1.6)
    # the stream with its stepping bridge
    s.shape([(-5, 176), (50, 168), (110, 174), (200, 164), (200, 182), (110, 190), (50, 184),
             (-5, 192)], 0.22, hatch="flat", lw=0.8)
    for i in range(7):
        x = 6 + i * 28 + rng.uniform(-4, 4)
        y = 180 - x * 0.06
        s.stroke([(x, y), (x + 10, y - 0.4)], 0.4, 0.45, passes=1)
    s.shape([(96, 170), (126, 168), (128, 175), (94, 177)], 0.3, hatch="flat", lw=0.8,
            smooth=False)
    s.stroke([(92, 170), (110, 160), (130, 168)], 0.7, 0.75, smooth=True)
    for x in (98, 106, 114, 122):
        s.stroke([(x, 170), (x, 163 + abs(x - 110) * 0.25)], 0.5, 0.7, passes=1)
    # the open-air bath: a pool ringed with rocks, a low fence, steam rising
    s.shape([(96, 200), (200, 196), (200, 226), (96, 228)], 0.35, hatch="vert", lw=0.8,
            smooth=False)
    x = 96
    while x < 200:
        s.stroke([(x, 198), (x, 228)], 0.5, 0.6, passes=1)
        x += 6
    s.stroke([(96, 206), (200, 202)], 0.6, 0.7, passes=1)
    pool = bumpy(112, 262, 76, 26, rng, bumps=7, depth=0.06)
    s.shape(pool, 0.2, hatch="flat", lw=0.9)
    rocks = [(44, 248, 13, 10), (30, 268, 17, 12), (52, 288, 18, 11), (84, 296, 19, 10),
             (120, 298, 18, 10), (156, 292, 18, 11), (184, 272, 14, 13), (178, 244, 12, 9),
             (62, 240, 9, 6), (150, 236, 10, 6)]
    for (x, y, rx, ry) in sorted(rocks, key=lambda r: r[1]):
        pts = [(x + rx * math.cos(a) * rng.uniform(0.8, 1.1),
                y + ry * math.sin(a) * rng.uniform(0.8, 1.05) - (ry * 0.25 if math.sin(a) < 0 else 0))
               for a in [2 * math.pi * i / 7 for i in range(7)]]
        s.shape(pts, 0.48, hatch="diag", shade=(1, 1, 0.35), lw=0.9)
        s.stroke([(x - rx * 0.5, y - ry * 0.1), (x - rx * 0.1, y - ry * 0.55)], 0.4, 0.35,
                 passes=1)
    for i in range(6):
        x = 70 + i * 16 + rng.uniform(-3, 3)
        y = 258 + (i % 3) * 6
        s.stroke([(x, y), (x + 9, y)], 0.4, 0.45, passes=1)
    for x in (70, 94, 118, 142):
        steam(s, x, 262, 50 + rng.uniform(0, 16), 9, 7)
    # a wooden pail left on the rocks
    s.shape([(170, 240), (182, 240), (180, 230), (172, 230)], 0.3, hatch="vert", lw=0.6,
            smooth=False)
    s.shape(ellipse(176, 230, 4, 1.2), 0.6, lw=0.4)
    # a big tree on the left frames the view
    s.shape([(-5, 236), (7, 234), (6, 170), (12, 124), (4, 124), (-2, 160), (-5, 170)], 0.55,
            hatch="vert", shade=(1, 0, 0.2), lw=0.9)
    s.shape(bumpy(4, 100, 30, 32, rng, bumps=11, depth=0.1), 0.5, hatch="steep", shade=(1, 0.6, 0.3), lw=0.9)
    s.shape(bumpy(-4, 130, 18, 14, rng, bumps=6), 0.55, hatch="steep", shade=(1, 0.6, 0.3), lw=0.8)
    ground_tufts(s, 196, 232, 10, x0=0, x1=90)
    bird(s, 150, 56, 0.8)
    bird(s, 166, 64, 0.6, flip=True)


# ---------------------------------------------------------------------------
# 4: the fight against the weapons of the machine age


def fight(s):
    sky(s, 80)
    s.shape([(-5, 320), (-5, 196), (200, 190), (200, 320)], 0.12, hatch="shallow", line=0,
            smooth=False)
    rng = s.rng
    for (x, y, r) in ((8, 226, 6), (186, 224, 5), (96, 232, 4), (40, 218, 3.5), (160, 214, 3)):
        s.shape([(x - r, y), (x - r * 0.6, y - r * 0.9), (x + r * 0.3, y - r * 1.1), (x + r, y - r * 0.3),
                 (x + r * 0.8, y)], 0.5, hatch="diag", shade=(1, 0, 0.3), lw=0.6, smooth=False)
    # the ground cracks under its weight
    for sx in (-1, 1):
        x0 = 96 + sx * 46
        s.stroke([(x0, 211), (x0 + sx * 8, 215), (x0 + sx * 13, 213), (x0 + sx * 22, 218)], 0.5, 0.75,
                 passes=1)
        s.stroke([(x0 + sx * 13, 213), (x0 + sx * 17, 209)], 0.4, 0.6, passes=1)
    # the machine soldier
    for sx in (-1, 1):
        x = 96 + sx * 26
        s.shape([(x - 20, 210), (x - 16, 192), (x + 16, 192), (x + 20, 210)], 0.62, hatch="vert",
                shade=(1, 0, 0.2), lw=1.0, smooth=False)
        s.stroke([(x - 20, 204), (x + 20, 204)], 0.5, 0.6, passes=1)
    for (x0, x1) in ((58, 84), (110, 136)):
        s.shape([(x0, 188), (x0, 150), (x1, 150), (x1, 188)], 0.55, hatch="vert",
                shade=(1, 0, 0.2), lw=1.0, smooth=False)
        for y in (160, 172):
            s.stroke([(x0, y), (x1, y)], 0.6, 0.6, passes=1)
    s.shape([(44, 150), (40, 96), (60, 70), (132, 70), (152, 96), (148, 150)], 0.36,
            hatch="diag", shade=(1, 0.3, 0.3), lw=1.2)
    s.shape([(72, 100), (120, 100), (120, 134), (72, 134)], 0.25, lw=0.9, smooth=False)
    for (x, y) in ((76, 104), (116, 104), (76, 130), (116, 130)):
        s.dots([(x, y)], 1.0)
    for y in (110, 118, 126):
        s.stroke([(80, y), (112, y)], 0.5, 0.7, passes=1)
    for x in range(50, 146, 10):
        s.dots([(x, 146)], 0.9)
    # head with one great lens
    s.shape([(70, 72), (70, 40), (78, 30), (114, 30), (122, 40), (122, 72)], 0.5, hatch="vert",
            shade=(1, 0, 0.2), lw=1.1)
    s.shape(ellipse(96, 52, 13, 12), 0.9, lw=1.0)
    s.shape(ellipse(96, 52, 6, 6), 0.02, lw=0.6)
    s.shape(ellipse(93, 49, 2, 2), 0.0, line=0)
    s.stroke([(96, 30), (96, 14)], 1.0, 0.9)
    s.shape(ellipse(96, 12, 3.2, 3.2), 0.6, lw=0.7)
    # shoulders and arms: one raised, one swinging a claw
    for x in (40, 152):
        s.shape(ellipse(x, 88, 16, 15), 0.55, hatch="diag", shade=(1, 1, 0.3), lw=1.1)
    s.shape(tube([(30, 96), (16, 70), (14, 40)], 13, 11), 0.6, hatch="vert", lw=1.0,
            smooth=False)
    s.shape([(4, 40), (8, 18), (14, 30), (20, 16), (26, 40)], 0.7, lw=0.9, smooth=False)
    s.shape(tube([(162, 96), (176, 70), (178, 40)], 13, 11), 0.6, hatch="vert", lw=1.0,
            smooth=False)
    s.shape([(188, 40), (184, 18), (178, 30), (172, 16), (166, 40)], 0.7, lw=0.9, smooth=False)
    # blasts: bursts of light ringed by smoke
    rng = s.rng
    for (x, y, r) in ((24, 182, 16), (172, 198, 12)):
        s.shape(bumpy(x, y, r * 1.5, r, rng, bumps=7, depth=0.25), 0.55, hatch="diag", lw=0.8)
        burst = []
        for i in range(16):
            a = 2 * math.pi * i / 16
            rr = r * (1.0 if i % 2 == 0 else 0.5) * rng.uniform(0.8, 1.1)
            burst.append((x + rr * math.cos(a) * 1.2, y + rr * math.sin(a) * 0.8))
        s.shape(burst, 0.0, lw=0.7, smooth=False)
        for i in range(8):
            a = 2 * math.pi * (i + 0.5) / 8
            s.stroke([(x + math.cos(a) * r * 1.3, y + math.sin(a) * r * 0.9),
                      (x + math.cos(a) * r * 1.9, y + math.sin(a) * r * 1.3)], 0.5, 0.7, passes=1)
    # the swordsman in mid-leap beside the robot's leg, his blade meeting its claw;
    # a rim of bare paper keeps him clear of the machine behind him
    def swordsman(sk):
        yamamoto_back(Fig(sk, 152, 178, 80), raised=True)
    s.clear_for(swordsman, 1.6)
    for a in range(0, 360, 30):
        r = math.radians(a)
        s.stroke([(176 + 6 * math.cos(r), 44 + 6 * math.sin(r)),
                  (176 + 12 * math.cos(r), 44 + 12 * math.sin(r))], 0.6, 0.8, passes=1)
    s.stroke([(136, 214), (144, 198), (148, 184)], 0.7, 0.5, smooth=True)
    s.stroke([(160, 212), (158, 198), (157, 186)], 0.5, 0.4, smooth=True)
    swordsman(s)
    # the others, close to the ground
    jarte_back(Fig(s, 26, 286, 70))
    pau_back(Fig(s, 72, 298, 76))
    m = Fig(s, 112, 300, 56)
    meg_back(m)
    for (dx, dy, r) in ((40, 108, 8), (52, 128, 5.5), (30, 126, 4)):
        pts = []
        for i in range(10):
            a = math.radians(90 + i * 36)
            rr = r if i % 2 == 0 else r * 0.42
            pts.append((dx + rr * math.cos(a), dy + rr * math.sin(a)))
        m.shape(pts, 0.0, lw=0.7, smooth=False)
    m.line([(33, 100), (38, 106)], 0.4, 0.5, passes=1)
    seed_back(Fig(s, 150, 302, 62))
    chams_back(Fig(s, 178, 304, 52))
    chokkun(Fig(s, 12, 304, 24))


ALL = [kingdom, village, letter, heroes, fight, serpent, journey, fishing]
