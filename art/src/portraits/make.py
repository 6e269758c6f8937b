"""Draws the seven full-figure portraits of the manual's character pages.

Run from anywhere: writes art/jin-0.png .. art/jin-6.png next to this tree.
Index = party member number; looks follow the same design table as the
90x90 battle faces, so hair, eyes and colours must stay in step with them.
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the art tree free of caches
sys.path.insert(0, HERE)

from PIL import Image  # noqa: E402

from sketch import Pic, dark, ellipse_pts, light, spline  # noqa: E402
import parts  # noqa: E402

ART = os.path.normpath(os.path.join(HERE, '..', '..'))

SKIN = (255, 226, 206)
WHITE_CLOTH = (250, 250, 253)


def rel(hx, hy, r, pts):
    """Points given in head radii around the skull centre."""
    return [(hx + p[0] * r, hy + p[1] * r) + tuple(p[2:]) for p in pts]


def mirror(pts):
    return [(-p[0],) + tuple(p[1:]) for p in pts[::-1]]


def star(cx, cy, ro, ri, rot=-math.pi / 2):
    pts = []
    for i in range(10):
        rr = ro if i % 2 == 0 else ri
        a = rot + i * math.pi / 5
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    return pts


def bow(p, x, y, s, col, ang=0.0):
    """Ribbon bow: two loops, a knot and two short tails."""
    ca, sa = math.cos(ang), math.sin(ang)

    def T(pts):
        return [(x + (u * ca - v * sa) * s, y + (u * sa + v * ca) * s) for u, v in pts]
    p.shape(T([(0.2, 0.5), (0.5, 1.3), (0.05, 1.4), (-0.05, 0.6)]), col, shade=0.4, hi=0.2, lw=0.6)
    p.shape(T([(-0.2, 0.5), (-0.6, 1.2), (-0.15, 1.35), (0.05, 0.6)]), col, shade=0.4, hi=0.2, lw=0.6)
    p.shape(T([(0, 0), (1.1, -0.7), (1.2, 0.5), (0, 0.15), (-1.2, 0.5), (-1.1, -0.7)]), col,
            shade=0.5, hi=0.3, lw=0.6)
    p.ell(x, y, 0.32 * s, 0.35 * s, dark(col, 0.08), shade=0.2, hi=0, lw=0.6)


# ---------------------------------------------------------------- 0 メグ
def meg():
    p = Pic(130, 206, seed=10)
    p.lift = 3
    hx, hy, r = 62, 32, 19.5
    hair = (246, 136, 166)
    cape = (255, 232, 100)
    skirt = (255, 150, 62)
    ribbon = (255, 214, 40)
    gold = (250, 196, 40)
    shoes = (214, 84, 70)
    p.ground_shadow(66, 199, 34, 4.5)
    # cape, swinging out behind her to the right
    p.shape([(46, 58), (80, 58), (92, 78), (106, 104), (116, 128, 'c'), (100, 126), (88, 132, 'c'),
             (74, 126), (52, 128, 'c'), (38, 130, 'c'), (40, 104), (44, 76)],
            cape, shade=3.5, hi=1.2)
    p.stroke(spline([(92, 92), (99, 112), (104, 126)], closed=False), dark(cape, 0.3), 0.6, taper=True)
    p.stroke(spline([(82, 100), (86, 116), (88, 130)], closed=False), dark(cape, 0.3), 0.6, taper=True)
    # the hood, down, bunched behind her neck
    p.shape([(42, 58), (50, 46), (62, 44), (74, 46), (82, 58), (62, 62)], cape, shade=1, hi=0.5)
    # back hair
    p.shape(rel(hx, hy, r, [(0, -1.12), (0.95, -0.8), (1.25, 0.1), (1.22, 0.85), (1.32, 1.32, 'c'),
                            (0.9, 1.2), (0.5, 1.3, 'c'), (0, 1.1), (-0.5, 1.3, 'c'), (-0.9, 1.2),
                            (-1.32, 1.32, 'c'), (-1.22, 0.85), (-1.25, 0.1), (-0.95, -0.8)]),
            hair, shade=2.5, hi=1)
    # legs with white socks
    for lx, kx, ax in ((56, 55, 54), (69, 71, 74)):
        p.limb([(lx, 112, 11.5), (kx, 148, 9), (ax, 188, 7)], SKIN, shade=1.4)
        p.limb([(kx + (ax - kx) * 0.45, 167, 8.2), (ax, 191, 7.2)], WHITE_CLOTH, shade=1.2)
        p.stroke([(kx + (ax - kx) * 0.45 - 3.8, 168.5), (kx + (ax - kx) * 0.45 + 3.8, 167.5)],
                 dark(WHITE_CLOTH, 0.2), 0.6)
    parts.shoe(p, 53.5, 199, 11.5, shoes, side=-1)
    parts.shoe(p, 74.5, 199, 11.5, shoes, side=1)
    # skirt
    p.shape([(50, 90), (74, 90), (80, 102), (88, 117), (80, 120), (72, 117), (64, 121), (56, 117),
             (47, 120), (38, 116), (44, 102)], skirt, shade=2.2, hi=1.2)
    for fx in (52, 63, 74):
        p.stroke([(fx + (fx - 62) * 0.05, 96), (fx + (fx - 62) * 0.5, 116)], dark(skirt, 0.28), 0.6,
                 taper=True)
    p.stroke([(50, 92), (74, 92)], dark(skirt, 0.2), 1.4)
    # neck and blouse
    p.limb([(62, 48, 8), (62, 60, 8.5)], SKIN, shade=1.5)
    p.shape([(50, 62), (74, 62), (76, 74), (73, 92, 'c'), (51, 92, 'c'), (48, 74)], WHITE_CLOTH,
            shade=2.2, hi=0)
    # hand-on-hip arm (viewer right)
    p.limb([(76, 66, 7.5), (88, 80, 6), (80, 92, 5.2)], WHITE_CLOTH, shade=1.2, caps=(False, True))
    parts.hand(p, 78, 92, 3.4, SKIN, ang=200)
    # raised, waving arm (viewer left)
    p.limb([(48, 67, 7.5), (38, 55, 6), (31, 41, 5)], WHITE_CLOTH, shade=1.2, caps=(False, True))
    p.ell(31, 41.5, 3.6, 2.2, WHITE_CLOTH, rot=0.5, shade=0.3, hi=0)
    parts.hand(p, 29.5, 37, 3.7, SKIN, ang=-110)
    # capelet over the shoulders
    p.shape([(62, 55), (76, 57), (86, 66), (88, 76, 'c'), (78, 74), (68, 76), (64, 66, 'c'),
             (60, 66, 'c'), (56, 76), (46, 74), (38, 74, 'c'), (40, 64), (48, 57)],
            cape, shade=2, hi=1)
    p.stroke(spline([(78, 62), (81, 68), (82, 74)], closed=False), dark(cape, 0.3), 0.5, taper=True)
    # ruffled blouse collar in the opening of the capelet
    p.shape([(55, 58), (62, 62), (69, 58), (71, 62), (67, 66), (62, 64.5), (57, 66), (53, 62)],
            WHITE_CLOTH, shade=0.6, hi=0, lw=0.6)
    # star charm on its cord
    p.stroke(spline([(57, 59), (61, 70), (62, 74)], closed=False), (150, 90, 50), 0.45)
    p.stroke(spline([(67, 59), (63, 70), (62, 74)], closed=False), (150, 90, 50), 0.45)
    p.shape(star(62, 77.5, 4.6, 2.0), gold, smooth=False, shade=0.6, hi=0.4, lw=0.6)
    # head and face
    face = parts.head(p, hx, hy, r, SKIN, chin=1.04, jaw=0.86)
    parts.blush(p, hx, hy, r, face, 0.4)
    for s in (-1, 1):
        parts.eye(p, hx + s * 0.43 * r, hy + 0.3 * r, 0.42 * r, 0.52 * r, (62, 186, 92), s, 'round')
    parts.nose(p, hx, hy + 0.55 * r, r, SKIN)
    parts.mouth(p, hx, hy + 0.72 * r, 0.38 * r, 'open', SKIN)
    # bunches at the sides, then the fringe
    for s in (-1, 1):
        # bunches: tied high, falling to the jaw and flicking outwards
        p.shape(rel(hx, hy, r, [(s * 0.85, -0.6), (s * 1.25, -0.5), (s * 1.45, 0.1),
                                (s * 1.72, 0.72, 'c'), (s * 1.38, 0.58), (s * 1.3, 0.82, 'c'),
                                (s * 1.1, 0.3), (s * 0.95, -0.1)]), hair, shade=1.4, hi=0.8)
    fr = [(-1.1, 0.75, 'c'), (-1.08, -0.1), (-0.85, -0.78), (-0.3, -1.12), (0.35, -1.1),
          (0.88, -0.75), (1.1, -0.1), (1.1, 0.75, 'c'), (0.9, 0.0), (0.82, -0.1, 'c'),
          (0.62, -0.1), (0.5, -0.22, 'c'), (0.3, -0.45), (0.16, -0.18, 'c'), (0.0, -0.4),
          (-0.2, -0.15, 'c'), (-0.32, -0.42), (-0.55, -0.15, 'c'), (-0.72, -0.35), (-0.88, 0.1, 'c'),
          (-0.92, 0.05)]
    p.glow(rel(hx, hy + 0.12 * r, r, fr), dark(SKIN, 0.25), 0.45, blur=1.0, clip=face)
    p.shape(rel(hx, hy, r, fr), hair, shade=1.8, hi=1.4)
    p.stroke(spline(rel(hx, hy, r, [(-0.5, -0.95), (-0.1, -1.0), (0.35, -0.9)]), closed=False),
             light(hair, 0.6), 1.2, taper=True)
    for s in (-1, 1):
        parts.brow(p, hx + s * 0.43 * r, hy - 0.16 * r, 0.34 * r, dark(hair, 0.45), s, 0.2)
        bow(p, hx + s * 1.1 * r, hy - 0.55 * r, 3.2, ribbon, ang=s * 0.35)
    return p


# ---------------------------------------------------------------- 1 モ・ジャルテ
def jarte():
    p = Pic(130, 262, seed=11)
    p.lift = 4
    hx, hy, r = 62, 42, 16
    hair = (108, 48, 138)
    bod = (196, 28, 52)
    gold = (240, 188, 58)
    skirt = (214, 52, 82)
    sash = (250, 200, 80)
    p.ground_shadow(66, 254, 36, 4.5)
    # long wavy hair down her back
    p.shape(rel(hx, hy, r, [(0, -1.15), (1.0, -0.8), (1.3, 0.2), (1.55, 1.3), (1.4, 2.2), (1.75, 3.1),
                            (1.5, 4.0), (1.7, 4.9, 'c'), (1.05, 4.5), (0.6, 4.9, 'c'), (0.1, 4.2),
                            (-0.6, 4.8, 'c'), (-1.1, 4.4), (-1.75, 4.75, 'c'), (-1.55, 3.9),
                            (-1.75, 3.0), (-1.45, 2.1), (-1.55, 1.2), (-1.3, 0.2), (-1.0, -0.8)]),
            hair, shade=3, hi=1.2)
    for k in (-1, 1):
        p.stroke(spline(rel(hx, hy, r, [(k * 1.2, 1.0), (k * 1.4, 2.2), (k * 1.25, 3.2), (k * 1.4, 4.1)]),
                        closed=False), dark(hair, 0.3), 0.6, taper=True)
    # dancer's slippers under the hem
    parts.shoe(p, 58, 255, 9, bod, side=-1, toe=1.2)
    parts.shoe(p, 73, 254, 9, bod, side=1, toe=1.2)
    # long skirt, caught mid-swirl
    p.shape([(54, 106), (71, 106), (80, 132), (94, 170), (110, 210), (124, 238, 'c'), (106, 240),
             (92, 250), (72, 248), (56, 251), (40, 246), (26, 238, 'c'), (34, 206), (42, 168),
             (48, 132)], skirt, shade=4, hi=1.6)
    for a, b in (((60, 116), (50, 244)), ((66, 116), (70, 246)), ((72, 116), (94, 248)),
                 ((76, 120), (112, 236)), ((56, 118), (34, 238))):
        p.stroke(spline([a, ((a[0] + b[0]) / 2 + 2, (a[1] + b[1]) / 2), b], closed=False),
                 dark(skirt, 0.3), 0.6, taper=True)
    p.stroke(spline([(26, 238), (40, 246), (56, 251), (72, 248), (92, 250), (106, 240), (124, 238)],
                    closed=False), gold, 1.1)
    # bare shoulders and arms
    p.limb([(64, 56, 7), (64, 70, 7.5)], SKIN, shade=1.2)
    p.shape([(64, 67), (73, 69), (79, 73), (80, 79), (75, 90), (53, 90), (48, 79), (49, 73), (55, 69)],
            SKIN, shade=1.5, hi=0)
    p.limb([(51, 75, 6.6), (37, 92, 5.2), (51, 106, 4.4)], SKIN, shade=1.1, caps=(False, True))
    parts.hand(p, 53, 106, 3.0, SKIN, ang=10)
    p.limb([(77, 75, 6.6), (92, 54, 5.2), (83, 28, 4.4)], SKIN, shade=1.1, caps=(False, True))
    parts.hand(p, 81, 24, 3.0, SKIN, ang=-120)
    for x, y, a in ((49, 104.5, 0.5), (84, 31, 1.4)):
        p.ell(x, y, 3.2, 1.6, gold, rot=a, shade=0.3, hi=0.4, lw=0.5)
    # crimson bodice, gold trim
    p.shape([(53, 80), (58, 78), (64, 82, 'c'), (70, 78), (75, 80), (74, 94), (70, 106),
             (64, 112, 'c'), (58, 106), (54, 94)], bod, shade=1.8, hi=1)
    p.stroke(spline([(53, 80), (58, 78), (64, 82)], closed=False), gold, 1.2)
    p.stroke(spline([(64, 82), (70, 78), (75, 80)], closed=False), gold, 1.2)
    p.stroke([(64, 84), (64, 109)], gold, 0.6)
    # sash knotted at the hip, tails flying
    p.shape([(52, 104), (64, 108), (76, 104), (77, 110), (64, 114), (51, 110)], sash, shade=0.8, hi=0.5)
    p.shape([(74, 108), (84, 118), (98, 130), (104, 140, 'c'), (94, 136), (82, 126), (72, 113)], sash,
            shade=0.8, hi=0.5)
    p.shape([(73, 110), (78, 126), (86, 146, 'c'), (80, 144), (74, 128), (70, 113)], sash,
            shade=0.6, hi=0.4)
    p.ell(74, 109.5, 2.6, 2.6, dark(sash, 0.1), shade=0.3, hi=0)
    # head
    face = parts.head(p, hx, hy, r, SKIN, chin=1.14, jaw=0.8)
    parts.blush(p, hx, hy, r, face, 0.22)
    for k in (-1, 1):
        p.stroke(ellipse_pts(hx + k * 1.0 * r, hy + 0.62 * r, 1.5, 2.0, n=30), (220, 160, 40), 0.7)
    parts.eye(p, hx - 0.42 * r, hy + 0.3 * r, 0.46 * r, 0.44 * r, (216, 150, 40), -1, 'narrow')
    parts.eye(p, hx + 0.42 * r, hy + 0.3 * r, 0.46 * r, 0.44 * r, (216, 150, 40), 1, 'narrow')
    parts.nose(p, hx, hy + 0.58 * r, r, SKIN)
    parts.mouth(p, hx + 0.03 * r, hy + 0.8 * r, 0.34 * r, 'smirk', SKIN)
    # side-swept fringe and front locks over the shoulders
    fr = [(-1.12, 1.0, 'c'), (-1.1, -0.1), (-0.85, -0.8), (-0.25, -1.15), (0.45, -1.1),
          (0.95, -0.7), (1.12, 0.0), (1.2, 0.9, 'c'), (0.92, 0.1), (0.72, -0.2), (0.3, -0.38),
          (-0.2, -0.5), (-0.6, -0.45), (-0.82, -0.1), (-0.92, 0.3, 'c')]
    p.glow(rel(hx, hy + 0.12 * r, r, fr), dark(SKIN, 0.25), 0.45, blur=1.0, clip=face)
    p.shape(rel(hx, hy, r, fr), hair, shade=1.6, hi=1.2)
    for k in (-1, 1):
        p.shape(rel(hx, hy, r, [(k * 0.95, 0.2), (k * 1.2, 0.7), (k * 1.05, 1.3), (k * 1.35, 2.0),
                                (k * 1.2, 2.6, 'c'), (k * 0.98, 2.0), (k * 0.86, 1.3), (k * 0.92, 0.7)]),
                hair, shade=1.0, hi=0.6)
    p.stroke(spline(rel(hx, hy, r, [(-0.7, -0.75), (-0.1, -0.98), (0.5, -0.88)]), closed=False),
             light(hair, 0.5), 1.2, taper=True)
    parts.brow(p, hx - 0.42 * r, hy - 0.08 * r, 0.4 * r, dark(hair, 0.4), -1, 0.22)
    parts.brow(p, hx + 0.42 * r, hy - 0.12 * r, 0.4 * r, dark(hair, 0.4), 1, 0.32, lift=0.35)
    # red flower clip
    fx, fy = hx + 0.92 * r, hy - 0.62 * r
    for k in range(5):
        a = k * 2 * math.pi / 5 - 0.3
        p.ell(fx + 2.6 * math.cos(a), fy + 2.6 * math.sin(a), 2.4, 1.7, (226, 40, 52), rot=a,
              shade=0.3, hi=0.3, lw=0.5)
    p.ell(fx, fy, 1.4, 1.4, gold, shade=0.2, hi=0, lw=0.4)
    return p


# ---------------------------------------------------------------- 2 ヤマモト
def yamamoto():
    p = Pic(125, 251, seed=12)
    p.lift = 4
    hx, hy, r = 60, 40, 17
    hair = (44, 42, 56)
    jacket = (58, 68, 138)
    hakama = (56, 56, 72)
    steel = (140, 140, 150)
    p.ground_shadow(62, 244, 34, 4.5)
    # high ponytail: a short spiky tuft standing up from the crown
    p.shape(rel(hx, hy, r, [(-0.25, -0.95), (-0.2, -1.35), (-0.05, -1.8, 'c'), (0.22, -1.42),
                            (0.55, -1.9, 'c'), (0.68, -1.45), (1.15, -1.62, 'c'), (0.95, -1.25),
                            (1.3, -1.05, 'c'), (0.85, -0.95), (0.4, -0.9)]), hair, shade=1.2, hi=0.8)
    p.stroke(spline(rel(hx, hy, r, [(0.15, -1.2), (0.3, -1.55), (0.5, -1.75)]), closed=False),
             light(hair, 0.4), 0.8, taper=True)
    p.shape(rel(hx, hy, r, [(0, -1.12), (0.95, -0.8), (1.12, 0.2), (1.12, 0.85, 'c'), (0.92, 0.62),
                            (0.8, 0.98, 'c'), (0.6, 0.7), (-0.6, 0.7), (-0.8, 0.98, 'c'), (-0.92, 0.62),
                            (-1.12, 0.85, 'c'), (-1.12, 0.2), (-0.95, -0.8)]), hair, shade=2, hi=0.8)
    # feet: white socks in sandals
    for x, s in ((52, -1), (70, 1)):
        parts.shoe(p, x, 244, 9.5, (236, 236, 240), side=s, toe=0.5)
        p.stroke([(x - 4, 242.5), (x + 4, 242.5)], (120, 80, 60), 1.2)
    # hakama: wide pleated legs
    p.shape([(43, 110), (79, 110), (84, 170), (88, 236, 'c'), (74, 238), (63, 234, 'c'), (61, 170),
             (59, 234, 'c'), (48, 238), (34, 236, 'c'), (38, 170)], hakama, shade=3, hi=1.2)
    for a, b in (((48, 120), (40, 234)), ((54, 120), (52, 232)), ((68, 120), (71, 232)),
                 ((74, 120), (82, 234))):
        p.stroke([a, b], dark(hakama, 0.35), 0.6, taper=True)
    # sword, sheathed at his left hip: scabbard trails back behind the leg
    p.limb([(80, 118, 4.2), (108, 176, 3.6)], (40, 30, 36), shade=0.6, hi=0.4)
    p.ell(108, 176.5, 2.2, 2.2, (200, 170, 90), shade=0.3, hi=0)
    # jacket
    p.limb([(60, 56, 7.5), (60, 70, 8)], SKIN, shade=1.2)
    p.shape([(46, 68), (60, 66), (74, 68), (80, 80), (78, 100), (79, 114), (60, 115), (41, 114),
             (42, 100), (40, 80)], jacket, shade=2.8, hi=1.2)
    # white collar crossing left over right
    p.shape([(54, 66), (60, 72), (66, 66), (70, 68), (61, 96), (58, 96), (50, 68)], WHITE_CLOTH,
            shade=0.5, hi=0)
    p.shape([(70, 67), (73, 69), (58, 106), (55, 104)], WHITE_CLOTH, shade=0.4, hi=0)
    p.stroke([(51, 68), (59, 96)], dark(WHITE_CLOTH, 0.3), 0.5)
    # belt
    p.shape([(41, 108), (79, 108), (79, 116), (41, 116)], (150, 40, 40), smooth=False, shade=0.8, hi=0.3)
    # hanging arm
    p.limb([(43, 72, 9.5), (36, 96, 8), (34, 118, 7)], jacket, shade=1.5)
    parts.hand(p, 34, 121, 3.5, SKIN, ang=95)
    # hilt, guard and the hand resting on it
    p.limb([(84, 114, 3.8), (69, 93, 3.8)], (40, 36, 48), shade=0.3, hi=0)
    for t in (0.2, 0.45, 0.7):
        x, y = 84 + (69 - 84) * t, 114 + (93 - 114) * t
        p.stroke([(x - 1.2, y + 0.6), (x + 1.2, y - 1.2)], (235, 235, 240), 0.5)
    p.ell(84.5, 114.5, 4.4, 2.2, (196, 160, 70), rot=-0.95, shade=0.4, hi=0.3, lw=0.6)
    p.limb([(77, 72, 9.5), (88, 92, 8), (76, 102, 7)], jacket, shade=1.5)
    parts.hand(p, 74, 101, 3.5, SKIN, ang=200)
    # head
    face = parts.head(p, hx, hy, r, SKIN, chin=1.12, jaw=0.8)
    parts.blush(p, hx, hy, r, face, 0.12)
    for s in (-1, 1):
        parts.eye(p, hx + s * 0.42 * r, hy + 0.3 * r, 0.44 * r, 0.4 * r, (92, 96, 108), s, 'calm')
        parts.brow(p, hx + s * 0.42 * r, hy - 0.06 * r, 0.42 * r, hair, s, 0.05, lift=0.1)
    parts.nose(p, hx, hy + 0.58 * r, r, SKIN)
    parts.mouth(p, hx, hy + 0.8 * r, 0.28 * r, 'line', SKIN)
    # fringe swept down over his right eye
    fr = [(-1.1, 0.5, 'c'), (-1.08, -0.2), (-0.8, -0.85), (-0.1, -1.15), (0.6, -1.05), (1.05, -0.55),
          (1.12, 0.2), (1.02, 0.55, 'c'), (0.85, 0.1), (0.6, -0.35, 'c'), (0.4, -0.05), (0.1, -0.5, 'c'),
          (-0.15, 0.0), (-0.35, 0.45), (-0.55, 0.62, 'c'), (-0.7, 0.3), (-0.9, 0.7, 'c'), (-0.92, 0.2)]
    p.glow(rel(hx, hy + 0.12 * r, r, fr), dark(SKIN, 0.25), 0.45, blur=1.0, clip=face)
    p.shape(rel(hx, hy, r, fr), hair, shade=1.4, hi=1.2)
    p.stroke(spline(rel(hx, hy, r, [(-0.6, -0.85), (0.0, -1.02), (0.5, -0.92)]), closed=False),
             light(hair, 0.45), 1.1, taper=True)
    # thin white headband, tails behind
    p.stroke(spline(rel(hx, hy, r, [(-1.1, -0.42), (0, -0.72), (1.1, -0.42)]), closed=False),
             (245, 245, 248), 1.6)
    p.stroke(spline(rel(hx, hy, r, [(-1.1, -0.42), (0, -0.72), (1.1, -0.42)]), closed=False),
             (190, 190, 200), 0.35)
    for tail in ([(1.05, -0.45), (1.45, -0.3), (1.75, 0.05)], [(1.05, -0.4), (1.35, -0.05), (1.5, 0.35)]):
        p.stroke(spline(rel(hx, hy, r, tail), closed=False), (170, 170, 184), 1.6, taper=True)
        p.stroke(spline(rel(hx, hy, r, tail), closed=False), (248, 248, 250), 1.0, taper=True)
    return p


# ---------------------------------------------------------------- 3 チャムス
def chams():
    p = Pic(170, 207, seed=13)
    p.lift = 2
    hx, hy, r = 84, 36, 19.5
    hair = (250, 138, 40)
    tunic = (92, 176, 84)
    shorts = (150, 100, 60)
    bag = (176, 120, 64)
    boots = (120, 78, 50)
    p.ground_shadow(84, 200, 36, 4.5)
    # spiky hair behind the head
    back = [(-0.05, -1.52, 'c'), (0.3, -1.15), (0.78, -1.5, 'c'), (0.85, -1.0), (1.42, -1.05, 'c'),
            (1.15, -0.5), (1.6, -0.2, 'c'), (1.18, 0.05), (1.38, 0.55, 'c'), (1.0, 0.5), (0.9, 0.9, 'c'),
            (-0.9, 0.9, 'c'), (-1.0, 0.45), (-1.45, 0.35, 'c'), (-1.15, -0.1), (-1.55, -0.55, 'c'),
            (-1.05, -0.75), (-1.1, -1.25, 'c'), (-0.6, -1.1), (-0.42, -1.6, 'c'), (-0.25, -1.2)]
    p.shape(rel(hx, hy, r, back), hair, shade=2, hi=1)
    # legs: one planted, one kicked up in a hop
    p.limb([(92, 120, 12.5), (95, 156, 10), (97, 190, 8)], SKIN, shade=1.3)
    p.limb([(77, 120, 12.5), (60, 142, 10), (63, 172, 8)], SKIN, shade=1.3)
    p.shape([(90, 184), (104, 184), (106, 196), (107, 200), (88, 200), (89, 194)], boots, shade=1.2, hi=0.6)
    p.shape([(56, 166), (70, 166), (71, 178), (70, 183), (54, 182), (55, 177)], boots, shade=1.2, hi=0.6)
    p.stroke([(89, 186), (105, 186)], dark(boots, 0.3), 0.8)
    p.stroke([(55, 168), (70, 168)], dark(boots, 0.3), 0.8)
    # shorts
    p.shape([(70, 106), (100, 106), (103, 128), (86, 131), (85, 124, 'c'), (82, 122, 'c'), (74, 134),
             (60, 128), (66, 112)], shorts, shade=1.8, hi=1)
    # satchel swinging out on its strap
    p.shape([(108, 98), (128, 92), (134, 112), (114, 118)], bag, shade=1.6, hi=1)
    p.shape([(108, 98), (128, 92), (130, 102), (110, 107)], dark(bag, 0.12), shade=0.6, hi=0.5)
    p.ell(120, 104, 1.6, 1.6, (240, 200, 80), shade=0, hi=0, lw=0.5)
    # arms: one waving his prize (a roast drumstick), one flung out
    p.limb([(71, 68, 8.5), (56, 53, 7), (47, 32, 6)], SKIN, shade=1.2, caps=(False, True))
    p.limb([(71, 68, 9.5), (64, 60, 8.5)], tunic, shade=0.8, hi=0.5)
    bone = (250, 244, 226)
    p.limb([(46.5, 29, 2.8), (43.5, 21, 2.6)], bone, shade=0.4, hi=0)
    p.shape([(43.5, 24), (36.5, 18.5), (35, 12), (39.5, 7.5), (46.5, 9), (48.5, 15), (46.5, 21)], (200, 110, 48),
            shade=1.8, hi=1)
    p.stroke(spline([(38.5, 11), (42.5, 9.5), (45.5, 12)], closed=False), light((200, 110, 48), 0.55), 1.0,
             taper=True)
    parts.hand(p, 46.5, 29, 3.9, SKIN, ang=-100)
    p.limb([(97, 68, 8.5), (118, 76, 7), (139, 66, 6)], SKIN, shade=1.2, caps=(False, True))
    p.limb([(97, 68, 9.5), (106, 71, 8.5)], tunic, shade=0.8, hi=0.5)
    parts.hand(p, 142, 64, 4, SKIN, ang=-30, thumb=-1)
    # neck and tunic
    p.limb([(84, 54, 8.5), (84, 64, 9)], SKIN, shade=1.4)
    p.shape([(72, 64), (84, 62), (96, 64), (100, 80), (102, 112), (92, 116), (84, 113), (76, 116),
             (66, 112), (68, 80)], tunic, shade=2.4, hi=1.2)
    p.shape([(76, 64), (84, 72, 'c'), (92, 64), (89, 63), (84, 67), (79, 63)], dark(tunic, 0.2),
            shade=0, hi=0, lw=0.5)
    p.stroke([(67, 104), (101, 104)], (120, 80, 50), 2.0)
    p.ell(84, 104, 2.4, 2.0, (240, 200, 80), shade=0.3, hi=0, lw=0.5)
    p.stroke([(73, 66), (112, 100)], dark(bag, 0.15), 1.8)
    # head
    face = parts.head(p, hx, hy, r, SKIN, chin=1.04, jaw=0.86)
    parts.blush(p, hx, hy, r, face, 0.3)
    for s in (-1, 1):
        parts.eye(p, hx + s * 0.42 * r, hy + 0.3 * r, 0.4 * r, 0.46 * r, (150, 84, 40), s, 'round',
                  look=(0.06, 0))
    for dx, dy in ((-0.22, 0.58), (-0.12, 0.52), (0.12, 0.52), (0.22, 0.58), (-0.3, 0.5), (0.3, 0.5)):
        p.dot(hx + dx * r, hy + dy * r, 0.55, (214, 130, 90), 0.8)
    parts.nose(p, hx, hy + 0.55 * r, r, SKIN)
    parts.mouth(p, hx + 0.04 * r, hy + 0.76 * r, 0.44 * r, 'grin', SKIN)
    # sticking plaster
    px, py, a = hx + 0.62 * r, hy + 0.6 * r, -0.5
    p.shape([(px + u * math.cos(a) - v * math.sin(a), py + u * math.sin(a) + v * math.cos(a))
             for u, v in ((-4, -1.5), (4, -1.5), (4, 1.5), (-4, 1.5))], (240, 210, 170), smooth=False,
            shade=0.3, hi=0, lw=0.5)
    p.stroke([(px - 0.7, py - 0.7), (px + 0.7, py + 0.7)], (200, 160, 120), 0.4)
    p.stroke([(px - 0.7, py + 0.7), (px + 0.7, py - 0.7)], (200, 160, 120), 0.4)
    # messy fringe
    fr = [(-1.12, 0.35, 'c'), (-1.15, -0.3), (-0.85, -0.9), (-0.2, -1.18), (0.5, -1.1), (0.95, -0.75),
          (1.15, -0.2), (1.12, 0.35, 'c'), (0.9, -0.05), (0.78, -0.2, 'c'), (0.55, -0.28), (0.42, -0.05, 'c'),
          (0.25, -0.4), (0.05, -0.15, 'c'), (-0.1, -0.42), (-0.3, -0.12, 'c'), (-0.45, -0.4),
          (-0.7, -0.12, 'c'), (-0.82, -0.25), (-0.95, 0.05)]
    p.glow(rel(hx, hy + 0.12 * r, r, fr), dark(SKIN, 0.25), 0.45, blur=1.0, clip=face)
    p.shape(rel(hx, hy, r, fr), hair, shade=1.6, hi=1.3)
    p.stroke(spline(rel(hx, hy, r, [(-0.6, -0.85), (0.0, -1.0), (0.5, -0.9)]), closed=False),
             light(hair, 0.55), 1.2, taper=True)
    for s in (-1, 1):
        parts.brow(p, hx + s * 0.42 * r, hy - 0.1 * r, 0.34 * r, dark(hair, 0.4), s, 0.28, lift=0.15)
    return p


# ---------------------------------------------------------------- 4 パウ
def pau():
    p = Pic(120, 273, seed=14)
    p.lift = 4
    hx, hy, r = 60, 96, 17
    hair = (206, 166, 108)
    band = (64, 112, 200)
    shirt = (250, 240, 212)
    vest = (146, 94, 54)
    trousers = (96, 104, 128)
    boots = (110, 72, 46)
    wood = (214, 170, 110)
    p.ground_shadow(60, 266, 32, 4.5)
    # legs and boots
    p.limb([(52, 170, 13), (51, 214, 11), (50, 252, 9.5)], trousers, shade=1.8)
    p.limb([(68, 170, 13), (70, 214, 11), (72, 252, 9.5)], trousers, shade=1.8)
    parts.shoe(p, 49, 266, 12, boots, side=-1)
    parts.shoe(p, 73, 266, 12, boots, side=1)
    for x in (50, 72):
        p.shape([(x - 6, 244), (x + 6, 244), (x + 6.5, 258), (x - 6.5, 258)], boots, smooth=False,
                shade=1, hi=0.5)
    # shirt body and neck
    p.limb([(60, 110, 8), (60, 124, 8.5)], SKIN, shade=1.4)
    p.shape([(46, 124), (60, 122), (74, 124), (78, 140), (76, 174), (44, 174), (42, 140)], shirt,
            shade=2, hi=0)
    p.shape([(53, 123), (60, 130, 'c'), (67, 123), (64, 121), (60, 125), (56, 121)], light(shirt, 0.3),
            shade=0.3, hi=0, lw=0.5)
    # vest
    for s in (-1, 1):
        p.shape([(60 + s * 4, 130), (60 + s * 10, 123), (60 + s * 16, 126), (60 + s * 17, 150),
                 (60 + s * 16, 175), (60 + s * 3, 176, 'c'), (60 + s * 3.5, 150)], vest, shade=1.6, hi=1)
    p.stroke([(44, 167), (76, 167)], (84, 54, 34), 2.2)
    p.ell(60, 167, 2.2, 2, (236, 196, 80), shade=0.3, hi=0, lw=0.5)
    # coin purse on his belt
    p.shape([(40, 168), (48, 168), (50, 176), (47, 182), (40, 182), (37, 176)], (196, 140, 70), shade=1,
            hi=0.6)
    p.stroke([(40, 170), (48, 170)], (120, 70, 40), 0.8)
    p.dot(44, 175, 1.1, (240, 204, 90))
    # arm resting by the purse, sleeve rolled up
    p.limb([(45, 128, 9), (36, 150, 7.5), (42, 166, 6.5)], SKIN, shade=1.2, caps=(False, True))
    p.limb([(45, 128, 10.5), (40, 142, 9.5)], shirt, shade=1, hi=0.4)
    p.ell(40, 143, 5.6, 2.4, shirt, rot=0.39, shade=0.3, hi=0)
    parts.hand(p, 44, 168, 3.8, SKIN, ang=60)
    # the big crate, lifted with one hand as if it were empty
    p.limb([(75, 128, 9), (92, 104, 7.5), (74, 74, 6.5)], SKIN, shade=1.2, caps=(False, True))
    p.limb([(75, 128, 10.5), (84, 116, 9.5)], shirt, shade=1, hi=0.4)
    p.ell(84, 116, 5.6, 2.4, shirt, rot=0.62, shade=0.3, hi=0)
    crate = [(12, 22), (104, 14), (108, 64), (16, 72)]
    p.shape(crate, wood, smooth=False, shade=2.5, hi=1.2)
    p.shape([(12, 22), (104, 14), (104.6, 21), (13, 29)], dark(wood, 0.12), smooth=False, shade=0, hi=0)
    p.shape([(15.3, 65), (107.4, 57), (108, 64), (16, 72)], dark(wood, 0.12), smooth=False, shade=0, hi=0)
    for t in (0.37, 0.63):
        a = (12 + 92 * t, 22 - 8 * t)
        b = (16 + 92 * t, 72 - 8 * t)
        p.stroke([a, b], dark(wood, 0.35), 0.7)
    p.stroke([(14, 40), (106, 32)], dark(wood, 0.3), 0.5)
    p.stroke([(15, 54), (107, 46)], dark(wood, 0.3), 0.5)
    p.stroke([(13, 29), (107, 57)], dark(wood, 0.22), 2.2)
    # merchant's mark
    # merchant's mark: a coin with a square hole
    p.ell(60, 43, 6.5, 6.5, (190, 70, 56), shade=0.3, hi=0, lw=0.6, alpha=0.85)
    p.ell(60, 43, 4.6, 4.6, wood, shade=0, hi=0, lw=0.5, line_col=(250, 226, 190))
    p.shape([(58, 41), (62, 41), (62, 45), (58, 45)], (190, 70, 56), smooth=False, shade=0, hi=0, lw=0.4)
    parts.hand(p, 73, 73, 4, SKIN, ang=-95)
    # head
    face = parts.head(p, hx, hy, r, SKIN, chin=1.02, jaw=0.92)
    parts.blush(p, hx, hy, r, face, 0.42)
    for s in (-1, 1):
        parts.eye(p, hx + s * 0.42 * r, hy + 0.32 * r, 0.3 * r, 0.36 * r, (110, 76, 50), s, 'small')
        parts.brow(p, hx + s * 0.42 * r, hy - 0.05 * r, 0.36 * r, dark(hair, 0.4), s, 0.12, lift=-0.1)
    parts.nose(p, hx, hy + 0.55 * r, r, SKIN)
    parts.mouth(p, hx, hy + 0.76 * r, 0.3 * r, 'gentle', SKIN)
    fr = [(-1.08, 0.45, 'c'), (-1.1, -0.2), (-0.9, -0.6), (0.9, -0.6), (1.1, -0.2), (1.08, 0.45, 'c'),
          (0.92, 0.05), (0.7, -0.12, 'c'), (0.45, -0.05), (0.2, -0.22, 'c'), (-0.05, -0.1), (-0.3, -0.24, 'c'),
          (-0.55, -0.05), (-0.78, -0.16, 'c'), (-0.92, 0.1)]
    p.glow(rel(hx, hy + 0.12 * r, r, fr), dark(SKIN, 0.25), 0.45, blur=1.0, clip=face)
    p.shape(rel(hx, hy, r, fr), hair, shade=1.3, hi=1)
    # blue bandana over the top of the head, knot to one side
    p.shape(rel(hx, hy, r, [(-1.12, -0.3, 'c'), (-1.0, -0.85), (-0.4, -1.2), (0.4, -1.2), (1.0, -0.85),
                            (1.12, -0.3, 'c'), (0.5, -0.48), (-0.5, -0.48)]), band, shade=1.6, hi=1)
    for dx, dy in ((-0.5, -0.85), (0.1, -0.95), (0.6, -0.8), (-0.1, -0.68)):
        p.dot(hx + dx * r, hy + dy * r, 0.8, light(band, 0.7))
    p.shape(rel(hx, hy, r, [(1.05, -0.5), (1.45, -0.7), (1.62, -0.35, 'c'), (1.35, -0.3), (1.6, 0.1, 'c'),
                            (1.25, -0.05), (1.05, -0.3)]), band, shade=0.6, hi=0.4)
    return p


# ---------------------------------------------------------------- 5 チョックン
def fluff(cx, cy, rx, ry, n, depth, a0=0.0, a1=2 * math.pi, jag=0.5):
    """Outline of a furry blob: alternating tufts and dips."""
    pts = []
    for i in range(n):
        a = a0 + (a1 - a0) * i / n
        k = 1.0 if i % 2 == 0 else 1.0 - depth
        q = (cx + rx * k * math.cos(a), cy + ry * k * math.sin(a))
        pts.append(q + ('c',) if i % 2 == 0 and jag else q)
    return pts


def chokkun():
    p = Pic(110, 107, seed=15)
    p.lift = 3
    fur = (255, 250, 236)
    tipc = (150, 100, 60)
    p.ground_shadow(54, 100, 32, 4)
    # bushy tail curled up behind
    p.shape(fluff(84, 66, 14, 17, 22, 0.12), fur, shade=2, hi=0.8)
    p.stroke(spline([(80, 80), (88, 68), (84, 56)], closed=False), dark(fur, 0.22), 0.6, taper=True)
    # ears, tall and a little apart
    for s, a in ((-1, -0.3), (1, 0.25)):
        bx, by = 54 + s * 9, 38
        tx, ty = bx + s * 10, 8
        ear = [(bx - 5.5, by), (bx - 6.2 + s * 3, by - 16), (tx - 3, ty + 2), (tx, ty - 1, 'c'),
               (tx + 3.4, ty + 3), (bx + 6 + s * 3, by - 14), (bx + 5.5, by)]
        m = p.shape(ear, fur, shade=1.5, hi=0.6, line=False)
        p.glow([(tx - 8, ty + 12), (tx + 8, ty + 10), (tx + 6, ty - 6), (tx - 6, ty - 6)], tipc, 1.0,
               blur=1.2, clip=m, smooth=False)
        p.glow([(bx - 2.5, by - 2), (bx - 2.5 + s * 3, by - 14), (tx, ty + 8), (bx + 3 + s * 3, by - 13),
                (bx + 2.5, by - 2)], (255, 196, 196), 0.55, blur=1.0, clip=m)
        p.stroke(spline(ear, closed=False), dark(fur, 0.5), 1.0)
    # round fluffy body and head as one
    p.shape(fluff(54, 76, 27, 22, 30, 0.06), fur, shade=3, hi=1)
    p.shape(fluff(54, 54, 24, 21, 34, 0.07), fur, shade=2.4, hi=1.2)
    p.shape([(50, 36), (52, 29, 'c'), (54.5, 33), (57, 27, 'c'), (58, 34), (61, 31, 'c'), (60, 37)], fur,
            shade=0.5, hi=0.3)
    # chest tuft
    p.stroke(spline([(46, 76), (50, 80), (54, 77), (58, 81), (62, 76)], closed=False), dark(fur, 0.25),
             0.7, taper=True)
    # paws
    for x, y in ((45, 95), (63, 95)):
        p.ell(x, y, 5.5, 3.8, fur, shade=0.8, hi=0.4)
        p.stroke([(x - 1, y + 1.5), (x - 1, y + 3.5)], dark(fur, 0.4), 0.5)
        p.stroke([(x + 1.5, y + 1.5), (x + 1.5, y + 3.5)], dark(fur, 0.4), 0.5)
    for x, s in ((30, -1), (78, 1)):
        p.ell(x, 95, 7, 4.4, fur, rot=s * 0.3, shade=0.8, hi=0.4)
    # face: big round black eyes, tiny pink nose
    for ex in (44.5, 63.5):
        p.ell(ex, 57, 5.6, 6.6, (34, 28, 36), shade=0, hi=0, lw=0.6)
        p.glow(ellipse_pts(ex + 0.4, 60.5, 3.3, 2.2, n=20), (96, 84, 104), 0.8, blur=0.5, smooth=False)
        p.dot(ex - 1.8, 54.5, 2.0, (255, 255, 255))
        p.dot(ex + 2.0, 60.4, 0.9, (255, 255, 255))
    p.glow(ellipse_pts(40, 66, 4, 2.2, n=20), (255, 150, 160), 0.35, blur=0.8, smooth=False)
    p.glow(ellipse_pts(68, 66, 4, 2.2, n=20), (255, 150, 160), 0.35, blur=0.8, smooth=False)
    p.shape([(52.4, 63.6), (55.6, 63.6), (54, 65.6)], (250, 130, 150), shade=0, hi=0, lw=0.5)
    p.stroke(spline([(51, 67.2), (52.6, 68.4), (54, 66.6), (55.4, 68.4), (57, 67.2)], closed=False),
             dark(fur, 0.55), 0.6)
    return p


# ---------------------------------------------------------------- 6 シードパール
def seedpearl():
    p = Pic(121, 175, seed=16)
    p.lift = 3
    hx, hy, r = 56, 28, 15
    hair = (172, 228, 200)
    dress = (172, 212, 244)
    shawl = (252, 252, 255)
    bird = (78, 146, 226)
    p.ground_shadow(58, 169, 32, 4)
    # long straight hair behind her, swaying a little
    p.shape(rel(hx, hy, r, [(0, -1.15), (0.98, -0.78), (1.16, 0.2), (1.22, 1.4), (1.4, 2.6),
                            (1.45, 3.8), (1.62, 4.7, 'c'), (1.2, 4.45), (0.95, 4.8, 'c'), (0.6, 4.4),
                            (-0.6, 4.3), (-0.9, 4.7, 'c'), (-1.15, 4.35), (-1.45, 4.55, 'c'),
                            (-1.35, 3.6), (-1.3, 2.4), (-1.2, 1.3), (-1.16, 0.2), (-0.98, -0.78)]),
            hair, shade=2.4, hi=1)
    for k in (-1, 1):
        p.stroke(spline(rel(hx, hy, r, [(k * 1.15, 0.8), (k * 1.25, 2.6), (k * 1.32, 4.3)]),
                        closed=False), dark(hair, 0.25), 0.5, taper=True)
    # long dress
    parts.shoe(p, 51, 169, 8, (150, 190, 230), side=-1)
    parts.shoe(p, 65, 169, 8, (150, 190, 230), side=1)
    p.shape([(46, 78), (66, 78), (70, 100), (78, 130), (86, 162, 'c'), (70, 164), (56, 165),
             (42, 163), (28, 160, 'c'), (38, 130), (43, 100)], dress, shade=3, hi=1.4)
    for a, b in (((50, 96), (40, 160)), ((56, 96), (56, 163)), ((62, 96), (72, 161))):
        p.stroke([a, b], dark(dress, 0.25), 0.5, taper=True)
    p.stroke(spline([(28, 160), (42, 163), (56, 165), (70, 164), (86, 162)], closed=False),
             light(dress, 0.6), 1.0)
    p.limb([(56, 42, 6.5), (56, 52, 7)], SKIN, shade=1.2)
    p.shape([(46, 52), (56, 50), (66, 52), (68, 66), (66, 82), (46, 82), (44, 66)], dress, shade=1.6, hi=0)
    # arm reaching out to the bird
    p.limb([(66, 56, 6), (80, 66, 5), (92, 56, 4.2)], SKIN, shade=1, caps=(False, True))
    parts.hand(p, 94, 54, 3, SKIN, ang=-40, thumb=-1)
    # the other hand resting lightly at her side
    p.limb([(46, 56, 6), (41, 73, 5), (43, 89, 4.4)], SKIN, shade=1, caps=(False, True))
    parts.hand(p, 43.5, 91, 3, SKIN, ang=85)
    # white shawl over the shoulders, ends hanging
    p.shape([(43, 51), (56, 48), (69, 51), (73, 62), (71, 74, 'c'), (66, 66), (56, 60), (46, 66),
             (41, 76, 'c'), (39, 62)], shawl, shade=1.4, hi=0)
    p.shape([(67, 62), (71, 64), (70, 84), (72, 96, 'c'), (67, 88), (65.5, 70)], shawl, shade=0.8, hi=0)
    p.shape([(45, 62), (41, 64), (41, 84), (38, 96, 'c'), (43, 88), (46.5, 70)], shawl, shade=0.8, hi=0)
    # blue bird on her fingers
    bx, by = 96, 46
    p.shape([(bx - 6, by + 1), (bx - 11, by + 4, 'c'), (bx - 5, by + 4)], dark(bird, 0.1), shade=0, hi=0,
            lw=0.5)
    p.ell(bx - 1, by + 1, 5.5, 4, bird, rot=-0.2, shade=0.8, hi=0.5, lw=0.6)
    p.ell(bx + 4, by - 3, 3.3, 3.2, bird, shade=0.5, hi=0.4, lw=0.6)
    p.glow(ellipse_pts(bx + 1, by + 2.5, 3.2, 1.8, rot=-0.2, n=20), (250, 250, 255), 0.85, blur=0.4,
           smooth=False)
    p.shape([(bx - 4, by - 0.5), (bx + 1, by - 1), (bx - 2, by + 3.5)], dark(bird, 0.2), shade=0, hi=0,
            lw=0.4)
    p.shape([(bx + 7, by - 3.8), (bx + 9.6, by - 3), (bx + 7, by - 2.2)], (250, 190, 70), smooth=False,
            shade=0, hi=0, lw=0.4)
    p.dot(bx + 5, by - 3.8, 0.8, (30, 30, 40))
    # a few notes of her song
    for x, y, k in ((80, 23, 1.0), (90, 14, 0.8)):
        p.stroke([(x + 1.8 * k, y - 5 * k), (x + 1.8 * k, y + 0.5 * k)], (120, 170, 220), 0.6)
        p.ell(x, y + 1 * k, 2.0 * k, 1.5 * k, (120, 170, 220), rot=-0.4, shade=0, hi=0, line=False)
        p.stroke([(x + 1.8 * k, y - 5 * k), (x + 4.2 * k, y - 3.4 * k)], (120, 170, 220), 0.6)
    # head
    face = parts.head(p, hx, hy, r, SKIN, chin=1.08, jaw=0.84)
    parts.blush(p, hx, hy, r, face, 0.3)
    for s in (-1, 1):
        parts.eye(p, hx + s * 0.42 * r, hy + 0.32 * r, 0.44 * r, 0.48 * r, (92, 150, 220), s, 'dreamy')
        parts.brow(p, hx + s * 0.42 * r, hy - 0.08 * r, 0.36 * r, dark(hair, 0.35), s, 0.18, lift=-0.15)
    parts.nose(p, hx, hy + 0.57 * r, r, SKIN)
    parts.mouth(p, hx, hy + 0.76 * r, 0.26 * r, 'soft', SKIN)
    fr = [(-1.1, 1.3, 'c'), (-1.1, -0.2), (-0.85, -0.82), (-0.2, -1.15), (0.5, -1.08), (0.95, -0.7),
          (1.1, -0.2), (1.1, 1.3, 'c'), (0.92, 0.4), (0.85, -0.05, 'c'), (0.5, -0.18), (0.2, -0.08, 'c'),
          (-0.1, -0.2), (-0.4, -0.08, 'c'), (-0.7, -0.2), (-0.86, -0.02, 'c'), (-0.92, 0.4)]
    p.glow(rel(hx, hy + 0.12 * r, r, fr), dark(SKIN, 0.25), 0.4, blur=1.0, clip=face)
    p.shape(rel(hx, hy, r, fr), hair, shade=1.5, hi=1.2)
    p.stroke(spline(rel(hx, hy, r, [(-0.6, -0.85), (0.0, -1.02), (0.5, -0.9)]), closed=False),
             light(hair, 0.6), 1.2, taper=True)
    for k in (-1, 1):
        p.shape(rel(hx, hy, r, [(k * 0.9, 0.2), (k * 1.1, 0.9), (k * 1.08, 1.9), (k * 0.95, 2.8),
                                (k * 1.05, 3.6, 'c'), (k * 0.78, 2.9), (k * 0.8, 1.9), (k * 0.85, 1.0)]),
                hair, shade=0.8, hi=0.5)
        p.stroke(spline(rel(hx, hy, r, [(k * 0.96, 0.8), (k * 0.95, 1.9), (k * 0.9, 2.9)]), closed=False),
                 dark(hair, 0.2), 0.45, taper=True)
    # white flower over her left ear
    fx, fy = hx - 1.0 * r, hy - 0.2 * r
    for k in range(5):
        a = k * 2 * math.pi / 5 - 0.2
        p.ell(fx + 2.4 * math.cos(a), fy + 2.4 * math.sin(a), 2.3, 1.6, (255, 255, 255), rot=a,
              shade=0.3, hi=0, lw=0.45, line_col=(170, 190, 200))
    p.ell(fx, fy, 1.2, 1.2, (250, 210, 80), shade=0, hi=0, lw=0.4)
    return p


FIGURES = [meg, jarte, yamamoto, chams, pau, chokkun, seedpearl]

# jin-1 stands at (340, 75) on its page, 262 rows high, so its last row falls on
# y 336, the first row of its card's bottom frame (chip 5 of the manual's tile
# sheet, laid from x 304).  That row is painted as the frame there, or the
# white of the picture would nick the frame's dark edge.
SEATED = {1: (340, 75, 5)}  # picture: (x, y) on the page, frame chip under its last row


def seat_on_frame(img, x, chip, tiles):
    sheet = Image.open(tiles).convert('RGB')
    sx, sy = (chip % 12) * 16, (chip // 12) * 16
    edge = [sheet.getpixel((sx + (x + i) % 16, sy)) for i in range(img.width)]
    img = img.convert('RGB')
    for i, c in enumerate(edge):
        img.putpixel((i, img.height - 1), c)
    return img


def main():
    only = set(int(a) for a in sys.argv[1:])
    for i, fn in enumerate(FIGURES):
        if only and i not in only:
            continue
        path = os.path.join(ART, 'jin-%d.png' % i)
        fn().save(path)
        if i in SEATED:
            x, y, chip = SEATED[i]
            img = Image.open(path)
            assert (y + img.height - 1) % 16 == 0, 'picture no longer ends on a frame row'
            seat_on_frame(img, x, chip, os.path.join(ART, 'tiles-manual.png')).save(path, optimize=True)


if __name__ == '__main__':
    main()
