"""The five robots, each painted as an RGBA layer with its ground shadow.

Coordinates are pixels of the 127 x 127 picture. Seen from above and a
little from the front (the party stands below), light from the upper left.
Under the picture the right rail of the first track runs at x 41 and the
left rail of the second at x 85; a sleeper crosses at y 39..55. Robots and
their shadows keep clear of the picture's edge, which must stay bare field.
"""
import numpy as np
from PIL import Image

from paint import Layer, S, blur, dilate, erode, stamp

RAIL_A, RAIL_B = 41, 85

NAVY = [(5, 6, 18), (12, 16, 40), (22, 30, 68), (40, 54, 108), (86, 106, 168)]
WHITE = [(96, 104, 140), (160, 168, 196), (214, 220, 236), (246, 248, 255), (255, 255, 255)]
STEEL = [(40, 44, 56), (92, 100, 116), (150, 158, 172), (210, 216, 226), (255, 255, 255)]
DARK = [(10, 10, 14), (28, 28, 36), (52, 52, 64), (86, 86, 100), (130, 130, 146)]
GOLD = [(70, 40, 8), (140, 92, 20), (206, 152, 40), (246, 210, 90), (255, 250, 200)]
IVORY = [(110, 104, 120), (176, 172, 186), (226, 224, 232), (250, 248, 252), (255, 255, 255)]
RED = [(60, 8, 8), (130, 20, 16), (200, 44, 24), (240, 96, 40), (255, 176, 90)]
ORANGE = [(110, 40, 6), (190, 80, 10), (240, 130, 20), (255, 190, 60), (255, 240, 150)]
FLAME = [(200, 40, 10), (250, 110, 20), (255, 180, 40), (255, 234, 120), (255, 255, 230)]
TEAL = [(8, 40, 44), (20, 88, 90), (36, 146, 140), (90, 202, 180), (190, 250, 226)]
YELLOW = [(90, 56, 4), (176, 118, 10), (236, 176, 24), (255, 220, 70), (255, 248, 190)]
RUBBER = [(8, 8, 10), (22, 22, 26), (40, 40, 46), (66, 66, 74), (100, 100, 110)]
LAMP = [(210, 130, 0), (255, 200, 40), (255, 240, 140), (255, 255, 235)]
VIOLET = [(10, 4, 20), (30, 12, 52), (56, 26, 92), (92, 52, 140), (140, 100, 190)]
VIOLET_GLOW = [(150, 60, 220), (230, 150, 255)]
CORE = [(40, 120, 200), (80, 210, 255), (190, 250, 255), (255, 255, 255)]
FACE = [(4, 2, 10), (14, 8, 28), (30, 20, 52)]
BROWN = [(40, 20, 10), (84, 46, 22), (130, 78, 40), (176, 120, 70), (220, 170, 120)]


def shadow_of(layer, dx, dy, grow=0.0, squash=1.0):
    """Hard ground shadow: the silhouette moved down-right (and spread)."""
    a = layer.a
    if grow:
        a = dilate(a, grow * S)
    im = Image.fromarray((a * 255).astype(np.uint8), "L")
    w, h = im.size
    if squash != 1.0:
        im = im.resize((w, int(h * squash)), Image.BILINEAR)
        pad = Image.new("L", (w, h), 0)
        pad.paste(im, (0, int(h * (1 - squash) / 2)))
        im = pad
    moved = Image.new("L", (w, h), 0)
    moved.paste(im, (int(dx * S), int(dy * S)))
    small = np.asarray(moved.resize((w // S, h // S), Image.BOX), dtype=np.float64) / 255.0
    return Image.fromarray(((small >= 0.5) * 255).astype(np.uint8), "L")


def ground_light(layer, colour, reach, strength):
    """Warm light thrown on the ground by a glowing robot, fading out well
    before the picture's edge."""
    a = Image.fromarray((layer.a * 255).astype(np.uint8), "L").resize((layer.w, layer.h), Image.BOX)
    a = np.asarray(a, dtype=np.float64) / 255.0
    g = blur(a, reach) * strength
    h, w = g.shape
    yy, xx = np.mgrid[0:h, 0:w]
    edge = np.minimum.reduce([xx, yy, w - 1 - xx, h - 1 - yy]).astype(np.float64)
    g = g * np.clip((edge - 3) / 8, 0, 1)
    g = np.floor(g * 6) / 6  # banded, like the rest of the picture
    c = g[..., None] * np.array(colour, dtype=np.float64)
    return Image.fromarray(np.clip(c, 0, 255).round().astype(np.uint8), "RGB")


def rivets(L, pts, r=1.3, colours=STEEL):
    for x, y in pts:
        L.part(L.circle(x, y, r), colours, bevel=0.8, edge=0.6)


# ---------------------------------------------------------------------------
def midnight_cook():
    k, o = 0.9, (6.35, 5.0)
    L = Layer(scale=k, offset=o)
    # legs and feet, one on each rail
    for x in ((RAIL_A - o[0]) / k, (RAIL_B - o[0]) / k):
        x = x + (1.5 if x < 63 else -1.5)
        L.part(L.line([(63.5 + (x - 63.5) * 0.6, 92), (x, 104)], 9), NAVY, bevel=2)
        L.part(L.ellipse(x, 106, 10, 6.5), DARK, bevel=3, gloss=0.4)
    # arms behind the body
    L.part(L.line([(34, 62), (22, 74)], 8), NAVY, bevel=2.5)
    L.part(L.line([(93, 62), (104, 72)], 8), NAVY, bevel=2.5)
    # ladle in the left hand: handle up, bowl of glowing night soup
    L.part(L.line([(20, 76), (14, 36)], 3.2), STEEL, bevel=1.2, gloss=0.6)
    L.part(L.ellipse(13, 29, 10, 9), STEEL, bevel=3, gloss=0.8)
    L.part(L.ellipse(12, 28, 7, 6), [(20, 70, 40), (50, 150, 70), (120, 220, 110), (200, 255, 170)],
           bevel=3, relief=-0.6, edge=0.4)
    # cleaver in the right hand
    L.part(L.line([(106, 74), (110, 56)], 4), BROWN, bevel=1.4)
    L.part(L.poly([(99, 27), (119, 23), (120, 50), (106, 56), (101, 52)]), STEEL, bevel=2.2,
           gloss=1.0)
    L.part(L.line([(101, 50), (118, 25)], 1.2), [(220, 226, 236), (255, 255, 255)], bevel=0.5, edge=1)
    L.part(L.circle(115, 31, 1.8), DARK, bevel=0.8)
    # hands
    L.part(L.circle(20, 76, 5.5), DARK, bevel=2.5, gloss=0.5)
    L.part(L.circle(107, 74, 5.5), DARK, bevel=2.5, gloss=0.5)
    # body with a white apron
    L.part(L.rect(34, 50, 93, 98, r=12), NAVY, bevel=6, gloss=0.25)
    L.part(L.circle(33, 60, 8), NAVY, bevel=4, gloss=0.3)
    L.part(L.circle(94, 60, 8), NAVY, bevel=4, gloss=0.3)
    L.part(L.poly([(46, 66), (81, 66), (84, 97), (43, 97)]), WHITE, bevel=3)
    L.part(L.line([(47, 66), (42, 54)], 2.2), WHITE, bevel=1)
    L.part(L.line([(80, 66), (85, 54)], 2.2), WHITE, bevel=1)
    L.part(L.rect(55, 78, 72, 90, r=2), WHITE, bevel=1.5, relief=-0.5)
    # crescent moon on the pocket
    moon = np.clip(L.circle(63.5, 84, 4.5) - L.circle(65.5, 82.5, 4), 0, 1)
    L.fill(moon, (250, 204, 60))
    # head with its one lamp eye
    L.part(L.rect(43, 28, 84, 60, r=10), NAVY, bevel=5, gloss=0.3)
    L.part(L.circle(63.5, 47, 9.5), STEEL, bevel=2, gloss=0.7)
    L.part(L.circle(63.5, 47, 7), LAMP, bevel=4, relief=0.6, gloss=0.8, edge=0.8)
    L.fill(L.circle(61, 44.5, 2.2), (255, 255, 250))
    L.glow(63.5, 47, 14, (255, 200, 80), 0.35)
    # grille mouth
    for k in range(4):
        L.part(L.rect(55 + 5 * k, 56, 57.5 + 5 * k, 59), DARK, bevel=0.6, edge=0.9)
    # chef's hat: puffed crown over a band
    L.part(L.rect(45, 22, 82, 33, r=3), WHITE, bevel=2.5)
    for x, y, r in ((50, 16, 9), (77, 16, 9), (57, 10, 10), (70, 10, 10), (63.5, 14, 11)):
        L.part(L.circle(x, y, r), WHITE, bevel=4.5, gloss=0.2, edge=0.7)
    body = L.reduce(96)
    return body, shadow_of(L, 6, 6)


def little_9c():
    L = Layer()
    # stubby legs and big round feet on the rails
    for x in (51, 76):
        L.part(L.rect(x - 4, 78, x + 4, 92, r=2), STEEL, bevel=1.5)
        L.part(L.ellipse(x, 95, 8, 6), ORANGE, bevel=3, gloss=0.5)
    # little arms
    L.part(L.line([(44, 66), (34, 76)], 5), STEEL, bevel=1.5)
    L.part(L.line([(83, 66), (93, 76)], 5), STEEL, bevel=1.5)
    L.part(L.circle(33, 78, 4.5), ORANGE, bevel=2, gloss=0.5)
    L.part(L.circle(94, 78, 4.5), ORANGE, bevel=2, gloss=0.5)
    # the round bomb body
    L.part(L.circle(63.5, 62, 24), TEAL, bevel=11, gloss=0.9, relief=1.2)
    # fuse cap and burning fuse
    L.part(L.rect(56, 33, 71, 42, r=2), GOLD, bevel=2, gloss=0.6)
    L.part(L.ellipse(63.5, 34, 7.5, 3), GOLD, bevel=1.5)
    L.part(L.line([(63.5, 34), (66, 26), (72, 21), (78, 19)], 2.2), BROWN, bevel=0.8)
    for a in range(8):
        t = a * np.pi / 4
        r = 7 if a % 2 == 0 else 4
        L.part(L.line([(80, 17), (80 + r * np.cos(t), 17 + r * np.sin(t))], 1.4), FLAME, bevel=0.5, edge=1)
    L.part(L.circle(80, 17, 2.6), [(255, 220, 80), (255, 255, 230)], bevel=1, edge=1)
    # eyes on the front
    for x in (54, 73):
        L.part(L.ellipse(x, 70, 6, 6.5), WHITE, bevel=2, edge=0.5)
        L.part(L.circle(x + 0.5, 71.5, 3.6), DARK, bevel=1.5, gloss=0.5, edge=0.8)
        L.fill(L.circle(x - 1, 70, 1.4), (255, 255, 255))
    # cheeks
    L.fill(L.ellipse(46, 78, 3, 1.6), (250, 130, 150), 0.8)
    L.fill(L.ellipse(81, 78, 3, 1.6), (250, 130, 150), 0.8)
    L.fill(L.ellipse(63.5, 80, 3, 1.2), (20, 40, 40))
    body = L.reduce(80)
    stamp(body, 57, 46, "9C", (250, 246, 220), shadow=(12, 50, 52), scale=2)
    return body, shadow_of(L, 5, 5)


def buggy_chip():
    L = Layer(offset=(0, 3))
    # exhaust smoke behind (top), then the pipes
    for x, y, r in ((47, 5, 3.6), (42, 3, 2.4), (80, 5, 3.6), (85, 3, 2.4)):
        L.part(L.circle(x, y, r), [(90, 90, 100), (150, 150, 160), (200, 200, 208), (236, 236, 240)],
               bevel=2, edge=0.8)
    for x in (50, 77):
        L.part(L.rect(x - 3, 8, x + 3, 22, r=2), STEEL, bevel=1.4, gloss=0.8)
        L.part(L.ellipse(x, 9, 3, 1.6), DARK, bevel=0.6, edge=1)
    # axles
    L.part(L.rect(28, 28, 99, 33), STEEL, bevel=1.2)
    L.part(L.rect(28, 90, 99, 95), STEEL, bevel=1.2)
    # four big tyres with tread
    for x0, y0, x1, y1 in ((14, 12, 34, 50), (93, 12, 113, 50), (17, 76, 35, 110), (92, 76, 110, 110)):
        L.part(L.rect(x0, y0, x1, y1, r=5), RUBBER, bevel=3, gloss=0.3)
        for y in np.arange(y0 + 4, y1 - 2, 4.0):
            L.fill(L.rect(x0 + 2, y, x1 - 2, y + 1.2), (4, 4, 6), 0.9)
        L.part(L.rect(x0 + 4, (y0 + y1) / 2 - 3, x1 - 4, (y0 + y1) / 2 + 3, r=2), STEEL, bevel=1, edge=0.7)
    # body
    L.part(L.poly([(38, 18), (89, 18), (95, 56), (88, 104), (80, 112), (47, 112), (39, 104), (32, 56)]),
           YELLOW, bevel=6, gloss=0.5)
    # engine block at the back
    L.part(L.rect(44, 14, 83, 34, r=3), STEEL, bevel=2, gloss=0.5)
    for k in range(6):
        L.fill(L.rect(47 + 6 * k, 17, 49 + 6 * k, 31), (50, 54, 64), 0.8)
    # black racing stripes down the hood
    L.fill(L.poly([(57, 78), (61, 78), (60, 111), (56, 111)]), (24, 22, 26))
    L.fill(L.poly([(66, 78), (70, 78), (71, 111), (67, 111)]), (24, 22, 26))
    # cockpit, seat and the little driver dome
    L.part(L.rect(45, 40, 82, 76, r=6), DARK, bevel=3, relief=-0.7)
    L.part(L.circle(63.5, 58, 10), STEEL, bevel=4, gloss=0.9)
    L.part(L.rect(56, 61, 71, 65, r=2), [(120, 0, 0), (230, 30, 20), (255, 140, 110)], bevel=1, gloss=1)
    # roll cage
    cage = [(42, 38), (85, 38), (85, 78), (42, 78), (42, 38)]
    L.part(L.line(cage, 3.4), RED, bevel=1.2, gloss=0.8)
    L.part(L.line([(42, 38), (52, 48)], 3), RED, bevel=1.2, gloss=0.8)
    L.part(L.line([(85, 38), (75, 48)], 3), RED, bevel=1.2, gloss=0.8)
    L.part(L.line([(42, 58), (35, 58)], 3), RED, bevel=1.2)
    L.part(L.line([(85, 58), (92, 58)], 3), RED, bevel=1.2)
    # headlights
    for x in (48, 79):
        L.part(L.circle(x, 106, 4.2), STEEL, bevel=1.5)
        L.part(L.circle(x, 106, 3), [(200, 190, 120), (255, 250, 200), (255, 255, 255)], bevel=1.5, gloss=1)
    body = L.reduce(80)
    return body, shadow_of(L, 5, 6)


def feather(root, tip, w, taper=0.45):
    """A long plate from root to tip, widest at two thirds of its length."""
    (sx, sy), (tx, ty) = root, tip
    nx, ny = -(ty - sy), (tx - sx)
    n = np.hypot(nx, ny)
    nx, ny = nx / n, ny / n
    mx, my = sx + (tx - sx) * 0.68, sy + (ty - sy) * 0.68
    return [(sx + nx * w * taper, sy + ny * w * taper), (mx + nx * w, my + ny * w), (tx, ty),
            (mx - nx * w, my - ny * w), (sx - nx * w * taper, sy - ny * w * taper)]


def toward(root, tip, f):
    return (root[0] + (tip[0] - root[0]) * f, root[1] + (tip[1] - root[1]) * f)


def suzaku():
    L = Layer(offset=(-1.5, 0))
    cx = 63.5
    for side in (-1, 1):
        # wings displayed: the bone climbs from the shoulder to the wing tip
        # high at the side, and the plates hang from it down and outward
        bone = [(cx + side * 9, 56), (cx + side * 25, 36), (cx + side * 43, 15)]
        n = 9
        roots, dirs, lens = [], [], []
        for k in range(n):
            t = k / (n - 1)  # 0 at the shoulder, 1 at the tip
            r = toward(bone[0], bone[1], t * 2) if t < 0.5 else toward(bone[1], bone[2], t * 2 - 1)
            a = np.radians(72 - 62 * t)
            roots.append(r)
            dirs.append((side * np.cos(a), np.sin(a)))
            lens.append(24 + 10 * np.sin(np.pi * t) - 14 * t ** 3)
        for k in range(n):  # upper plates over lower ones
            (rx, ry), (dx, dy), ln = roots[k], dirs[k], lens[k]
            tip = (rx + dx * ln, ry + dy * ln)
            L.part(L.poly(feather((rx, ry), tip, 5.8, 0.7)), ORANGE if k % 2 == 0 else RED, bevel=2.6,
                   gloss=0.6, edge=0.4)
            L.part(L.poly(feather(toward((rx, ry), tip, 0.62), tip, 3.5, 0.95)), FLAME, bevel=1.6, edge=0.8)
        # coverts: a row of shorter red plates along the bone
        for k in range(n):
            (rx, ry), (dx, dy), ln = roots[k], dirs[k], lens[k]
            L.part(L.poly(feather((rx, ry), (rx + dx * ln * 0.42, ry + dy * ln * 0.42), 5.2, 0.8)), RED,
                   bevel=2, gloss=0.5, edge=0.45)
        L.part(L.line(bone, 3.6), GOLD, bevel=1.0, gloss=0.9, edge=0.9)
        rivets(L, [bone[1]], r=2.4, colours=GOLD)
        hx, hy = bone[2]
        L.part(L.poly([(hx - side * 2, hy + 2), (hx + side * 5, hy - 7), (hx + side * 2, hy + 3)]), GOLD,
               bevel=1, gloss=0.8)
    # tail feathers fanning up behind, flame-tipped
    for tx, ty, w in ((50, 12, 5), (77, 12, 5), (63.5, 6, 6)):
        plate = feather((cx + (tx - cx) * 0.15, 54), (tx, ty), w)
        L.part(L.poly(plate), ORANGE, bevel=2.5, gloss=0.5)
        L.part(L.poly(feather(toward((cx, 54), (tx, ty), 0.62), (tx, ty), w * 0.55, 0.9)), FLAME,
               bevel=1.4, edge=0.85)
    # body with a burning core
    L.part(L.ellipse(cx, 62, 12, 21), RED, bevel=7, gloss=0.6)
    L.part(L.poly([(55, 52), (72, 52), (68, 78), (59, 78)]), GOLD, bevel=3, gloss=0.7)
    L.part(L.circle(cx, 63, 5), FLAME, bevel=2, gloss=1, edge=0.7)
    L.glow(cx, 63, 9, (255, 210, 90), 0.7)
    # head: flame crest, glowing eyes, golden beak pointing at the party
    for dx, ty in ((-6, 72), (0, 69), (6, 72)):
        L.part(L.poly([(cx + dx - 3, 86), (cx + dx * 1.5, ty), (cx + dx + 3, 86)]), FLAME, bevel=1.2)
    L.part(L.circle(cx, 89, 8.5), RED, bevel=4, gloss=0.6)
    L.part(L.poly([(57.5, 93), (69.5, 93), (cx, 106)]), GOLD, bevel=2, gloss=0.9)
    for x in (59, 68):
        L.part(L.poly([(x - 3, 87), (x + 3, 88.5), (x - 2, 90)] if x < 63 else
                      [(x + 3, 87), (x - 3, 88.5), (x + 2, 90)]), [(255, 200, 40), (255, 255, 210)],
               bevel=0.8, edge=0.6)
    L.glow(cx, 88, 7, (255, 190, 60), 0.35)
    body = L.reduce(96)
    return body, shadow_of(L, 5, 11, squash=0.9), ground_light(L, (255, 150, 50), 7, 0.9)


def utopia():
    L = Layer()
    cx = 63.5
    # sun halo with rays behind the head
    rays = L.mask(lambda d, s: None)
    for k in range(16):
        t = k * np.pi / 8
        a, b = t - 0.1, t + 0.1
        rays = np.maximum(rays, L.poly([(cx + 24 * np.cos(a), 34 + 24 * np.sin(a)),
                                        (cx + 31 * np.cos(t), 34 + 31 * np.sin(t)),
                                        (cx + 24 * np.cos(b), 34 + 24 * np.sin(b))]))
    ring = np.clip(np.maximum(L.circle(cx, 34, 25), rays) - L.circle(cx, 34, 20.5), 0, 1)
    L.part(ring, GOLD, bevel=1.5, gloss=0.9)
    # a dark mantle gives the body its weight
    L.part(L.poly([(38, 42), (89, 42), (102, 98), (92, 94), (84, 106), (74, 98), (63.5, 108), (53, 98), (43, 106),
                   (35, 94), (25, 98)]), VIOLET, bevel=4,
           gloss=0.3)
    # behind them a second rank of dark blades
    for side in (-1, 1):
        root = (cx + side * 14, 52)
        for tip, w in (((26, 20), 6.5), ((18, 60), 6.5)):
            tip = (cx + side * (cx - tip[0]), tip[1])
            L.part(L.poly(feather(root, tip, w, 0.5)), VIOLET, bevel=1.8, gloss=0.6, edge=0.6)
            L.part(L.line([toward(root, tip, 0.35), toward(root, tip, 0.85)], 1.2), VIOLET_GLOW, bevel=0.6,
                   edge=1)
    # six wing blades, three a side, gold-rimmed ivory with violet veins
    for side in (-1, 1):
        root = (cx + side * 14, 50)
        for tip, w in (((13, 6), 7.5), ((7, 42), 8.0), ((13, 80), 7.0)):
            tip = (cx + side * (cx - tip[0]), tip[1])
            L.part(L.poly(feather(root, tip, w, 0.5)), GOLD, bevel=1.8, gloss=0.9)
            L.part(L.poly(feather(toward(root, tip, 0.08), toward(root, tip, 0.93), w * 0.6, 0.45)), IVORY,
                   bevel=2.2, gloss=0.7, edge=0.75)
            L.part(L.line([toward(root, tip, 0.3), toward(root, tip, 0.8)], 1.3), VIOLET_GLOW, bevel=0.6,
                   edge=1)
    # legs on the two rails
    for x in (RAIL_A, RAIL_B):
        hip = cx + (x - cx) * 0.45
        L.part(L.line([(hip, 86), (x, 102)], 11), IVORY, bevel=3.5, gloss=0.6)
        L.part(L.circle(hip + (x - hip) * 0.5, 94, 4.5), GOLD, bevel=1.8, gloss=0.9)
        L.part(L.ellipse(x, 106, 9, 6.5), GOLD, bevel=3, gloss=0.9)
    # arms reaching forward with great claws
    for side in (-1, 1):
        sx, hx = cx + side * 22, cx + side * 36
        L.part(L.line([(sx, 56), (hx, 74), (hx - side * 3, 88)], 8.5), IVORY, bevel=3, gloss=0.5)
        L.part(L.circle(hx, 74, 4.5), GOLD, bevel=2, gloss=0.9)
        for d in (-4.5, 0, 4.5):
            L.part(L.poly([(hx - side * 3 + d - 2.2, 90), (hx - side * 3 + d * 1.5, 102),
                           (hx - side * 3 + d + 2.2, 90)]), GOLD, bevel=1, gloss=0.9)
        L.part(L.circle(hx - side * 3, 89, 5.2), IVORY, bevel=2.5, gloss=0.5)
    # armoured torso with gold trim
    L.part(L.poly([(42, 44), (85, 44), (81, 74), (72, 88), (55, 88), (46, 74)]), IVORY, bevel=6, gloss=0.7)
    L.part(L.poly([(53, 78), (74, 78), (70, 91), (57, 91)]), GOLD, bevel=2, gloss=0.9)
    L.part(L.line([(44, 46), (cx, 70), (83, 46)], 2), GOLD, bevel=1, gloss=0.9)
    for side in (-1, 1):
        L.part(L.line([(cx + side * 17, 56), (cx + side * 14, 74), (cx + side * 8, 82)], 1.4), GOLD, bevel=0.8,
               gloss=0.9, edge=0.9)
    # pauldrons with horns
    for side in (-1, 1):
        L.part(L.poly([(cx + side * 22, 40), (cx + side * 40, 30), (cx + side * 30, 46)]), GOLD, bevel=1.2,
               gloss=0.9)
        L.part(L.circle(cx + side * 22, 48, 9.5), GOLD, bevel=5, gloss=0.9)
        L.part(L.circle(cx + side * 22, 48, 4), [(60, 10, 90), (150, 60, 220), (230, 160, 255), (255, 240, 255)],
               bevel=2, gloss=1, edge=0.7)
    # glowing core
    L.part(L.circle(cx, 61, 8), GOLD, bevel=2, gloss=1)
    L.part(L.circle(cx, 61, 6), CORE, bevel=3, gloss=1, edge=0.6)
    L.glow(cx, 61, 12, (150, 230, 255), 0.9)
    # crowned head: white helm, dark face, two burning eyes
    for dx, ty in ((-7, 13), (0, 7), (7, 13)):
        L.part(L.poly([(cx + dx - 3.5, 26), (cx + dx, ty), (cx + dx + 3.5, 26)]), GOLD, bevel=1.2, gloss=1)
    for side in (-1, 1):
        L.part(L.poly([(cx + side * 9, 30), (cx + side * 19, 18), (cx + side * 13, 33)]), GOLD, bevel=1.2,
               gloss=1)
    L.part(L.rect(52, 21, 75, 46, r=9), IVORY, bevel=5, gloss=0.7)
    L.part(L.poly([(54, 32), (cx, 35), (73, 32), (71, 42), (cx, 46), (56, 42)]), FACE, bevel=2, relief=-0.5,
           edge=0.7)
    for side in (-1, 1):
        L.fill(L.poly([(cx + side * 1, 40.5), (cx + side * 10, 34), (cx + side * 9.5, 40.5)]), (255, 36, 24))
        L.fill(L.ellipse(cx + side * 6.5, 38.5, 1.6, 1.0), (255, 236, 160))
    L.part(L.line([(52.5, 32), (cx, 34.5), (74.5, 32)], 1.6), GOLD, bevel=0.8, gloss=1, edge=0.8)
    body = L.reduce(96)
    return body, shadow_of(L, 5, 7), ground_light(L, (120, 200, 255), 6, 0.35)


PAINTERS = [utopia, midnight_cook, little_9c, buggy_chip, suzaku]
