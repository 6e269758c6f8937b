#!/usr/bin/python3
"""Draws the two 192x192 tile sheets and the two 32x32 program icons.

Everything is drawn here from code: run from anywhere,
    /usr/bin/python3 art/src/tiles/make.py
and art/tiles-game.png, art/tiles-manual.png, art/icon-game.png and
art/icon-manual.png are written next to this folder's parents.

Sheet layout: 6x6 tiles of 32 px (tile n at ((n%6)*32, (n//6)*32)).
Sprites stand on SPRITE_BG; their masks sit in the bottom row at the same x.
"""
import math
import random
from pathlib import Path

import numpy as np
from PIL import Image

ROOT = Path(__file__).resolve().parents[3]
ART = ROOT / "art"

T = 32
SPRITE_BG = (255, 248, 255)
EMPTY_TILES = (14, 20, 26, 27, 29)


# ---------------------------------------------------------------- helpers

def q(c):
    """Keeps green a multiple of 8.

    Sprites are drawn by OR-ing a (255,248,255) mask and AND-ing the picture,
    which clears the three low bits of green wherever the picture's
    background touches; colours that already have them clear come through
    unchanged, so no faint box shows around a sprite.
    """
    r, g, b = (int(round(v)) for v in c)
    g = min(248, max(0, (g + 4) // 8 * 8))
    return (max(0, min(255, r)), g, max(0, min(255, b)))


def tile(col=(0, 0, 0)):
    a = np.zeros((T, T, 3), np.uint8)
    a[:, :] = col
    return a


def put(a, x, y, c):
    h, w = a.shape[:2]
    if 0 <= x < w and 0 <= y < h:
        a[y, x] = q(c)


def put_wrap(a, x, y, c):
    a[y % T, x % T] = q(c)


def mix(c1, c2, t):
    return tuple(c1[i] + (c2[i] - c1[i]) * t for i in range(3))


def periodic_noise(seed, cells, size=T):
    """Smooth value noise that wraps at `size`, so tiles repeat seamlessly."""
    rng = np.random.RandomState(seed)
    grid = rng.rand(cells, cells)
    out = np.zeros((size, size))
    step = size / cells
    for y in range(size):
        for x in range(size):
            gx, gy = x / step, y / step
            x0, y0 = int(gx) % cells, int(gy) % cells
            x1, y1 = (x0 + 1) % cells, (y0 + 1) % cells
            fx, fy = gx - int(gx), gy - int(gy)
            fx = fx * fx * (3 - 2 * fx)
            fy = fy * fy * (3 - 2 * fy)
            top = grid[y0, x0] * (1 - fx) + grid[y0, x1] * fx
            bot = grid[y1, x0] * (1 - fx) + grid[y1, x1] * fx
            out[y, x] = top * (1 - fy) + bot * fy
    return out


def wrap_blur(v, r):
    """Box blur of a tile-sized field that wraps at the edges."""
    out = np.zeros_like(v)
    for dy in range(-r, r + 1):
        for dx in range(-r, r + 1):
            out += np.roll(np.roll(v, dy, 0), dx, 1)
    return out / (2 * r + 1) ** 2


def wrap_dist(a, b):
    return min((a - b) % T, (b - a) % T)


def scatter(rng, count, gap, taken=(), apart=0):
    """Up to `count` points at least `gap` from each other and from `taken`,
    measured across the tile's wrapped edges, so a repeated tile shows an
    even sprinkle instead of clusters and holes. With `apart`, no two new
    points come nearer than that in x or in y: nothing lines up in rows or
    columns from tile to tile."""
    pts, out = list(taken), []
    for _ in range(20000):
        if len(out) == count:
            break
        x, y = rng.randrange(T), rng.randrange(T)
        if any(wrap_dist(x, px) ** 2 + wrap_dist(y, py) ** 2 < gap * gap for (px, py) in pts):
            continue
        if any(wrap_dist(x, px) < apart or wrap_dist(y, py) < apart for (px, py) in out):
            continue
        pts.append((x, y))
        out.append((x, y))
    return out


def tile_sized_structure(a):
    """How strongly a tile's brightness varies at its own scale (periods of
    32 down to about 10 px). Repeated across a screen, exactly these waves
    form the lattice the eye picks up; fine grain and single pixels do not."""
    lum = a.astype(float) @ [0.299, 0.587, 0.114]
    f = np.fft.fft2(lum)
    k = np.fft.fftfreq(T) * T
    kx, ky = np.meshgrid(k, k)
    low = (np.maximum(abs(kx), abs(ky)) <= 3) & ~((kx == 0) & (ky == 0))
    return float(np.sqrt((abs(f[low]) ** 2).sum()) / (T * T))


def outline_of(shape):
    """Pixels next to `shape` (4-neighbourhood) that are not in it."""
    s = shape
    n = np.zeros_like(s)
    n[1:, :] |= s[:-1, :]
    n[:-1, :] |= s[1:, :]
    n[:, 1:] |= s[:, :-1]
    n[:, :-1] |= s[:, 1:]
    return n & ~s


# ---------------------------------------------------------------- ground

GROUND = [q(c) for c in [(100, 76, 50), (120, 92, 60), (138, 108, 70),
                         (154, 122, 80), (176, 146, 100), (80, 60, 42)]]


def ground_base(seed=3):
    """The manual's earth under its rails: soft clumps of four shades."""
    n = periodic_noise(seed, 4) * 0.55 + periodic_noise(seed + 1, 8) * 0.30 \
        + periodic_noise(seed + 2, 16) * 0.15
    rng = random.Random(seed)
    a = tile()
    for y in range(T):
        for x in range(T):
            v = n[y, x] + rng.uniform(-0.035, 0.035)
            k = 0 if v < 0.30 else 1 if v < 0.45 else 2 if v < 0.64 else 3
            a[y, x] = GROUND[k]
    # specks: tiny grit stones, light on top, shadow under
    for (x, y) in [(4, 6), (21, 3), (13, 17), (27, 22), (7, 27), (18, 29), (30, 12)]:
        put_wrap(a, x, y, GROUND[4])
        put_wrap(a, x, y + 1, GROUND[5])
    for (x, y) in [(10, 9), (25, 14), (2, 19), (16, 24), (29, 30), (12, 2)]:
        put_wrap(a, x, y, GROUND[5])
    for (x, y) in [(8, 13), (23, 26), (1, 3)]:
        put_wrap(a, x, y, GROUND[3])
    return a


# dark .. light; three middle shades make the ground, the rest the grit
EARTH = [q(c) for c in [(100, 75, 50), (114, 86, 57), (125, 96, 63), (134, 104, 68),
                        (143, 111, 73), (156, 122, 81), (168, 138, 96)]]


def field_ground(seed=114):
    """The battle field's earth, laid 24x18 times over the whole screen.

    Only fine grain: crumbs of a pixel or three, high-passed so no patch is
    darker than another and every row and column averages the same. Grit
    and pits are sprinkled evenly across the wrapped edges. The seed is the
    one with the least tile-sized structure (see tile_sized_structure)."""
    w = np.random.RandomState(seed).rand(T, T)
    v = 0.6 * (w - 0.5) + (wrap_blur(w, 1) - 0.5)
    v -= wrap_blur(v, 4)
    v -= v.mean(axis=0, keepdims=True)
    v -= v.mean(axis=1, keepdims=True)
    v /= v.std()
    a = tile()
    for y in range(T):
        for x in range(T):
            a[y, x] = EARTH[2] if v[y, x] < -0.9 else EARTH[3] if v[y, x] < 0.5 else EARTH[4]
    rng = random.Random(seed)
    specks = scatter(rng, 5, 10.0, apart=3)
    crumbs = scatter(rng, 20, 4.5, specks)
    pits = scatter(rng, 12, 3.5, specks + crumbs)
    # crumbs: lit on top, shaded underneath
    for (x, y) in crumbs:
        put_wrap(a, x, y, EARTH[5])
        put_wrap(a, x, y + 1, EARTH[1])
    for (x, y) in pits:
        put_wrap(a, x, y, EARTH[1])
    # specks: grit stones, one or two pixels wide, shadow to the lower right
    for k, (x, y) in enumerate(specks):
        put_wrap(a, x, y, EARTH[6])
        put_wrap(a, x, y + 1, EARTH[5] if k % 2 else EARTH[4])
        if k % 2 == 0:
            put_wrap(a, x + 1, y, EARTH[5])
            put_wrap(a, x + 1, y + 1, EARTH[4])
            put_wrap(a, x + 2, y + 1, EARTH[1])
            put_wrap(a, x + 1, y + 2, EARTH[0])
        put_wrap(a, x, y + 2, EARTH[1])
    return a


def stone(a, cx, cy, rx, ry, pal, seed=0, shadow=True):
    """A rounded stone lit from the upper left; pal = dark..light (4)."""
    rng = random.Random(seed)
    inside = np.zeros((T, T), bool)
    for y in range(T):
        for x in range(T):
            dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
            if dx * dx + dy * dy <= 1.0:
                inside[y, x] = True
    if shadow:
        sh = np.zeros_like(inside)
        sh[1:, 1:] = inside[:-1, :-1]
        sh[2:, 1:] |= inside[:-2, :-1]
        for y, x in zip(*np.nonzero(sh & ~inside)):
            a[y, x] = q(mix(a[y, x], (40, 28, 20), 0.45))
    for y, x in zip(*np.nonzero(inside)):
        dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
        lit = -0.6 * dx - 0.8 * dy + rng.uniform(-0.15, 0.15)
        k = 3 if lit > 0.55 else 2 if lit > -0.05 else 1 if lit > -0.6 else 0
        a[y, x] = pal[k]
    for y, x in zip(*np.nonzero(outline_of(inside))):
        if y >= cy - 1 or x >= cx:
            a[y, x] = q(mix(a[y, x], pal[0], 0.55))
    return inside


GRASS = [q(c) for c in [(52, 84, 36), (72, 112, 44), (96, 140, 56), (132, 172, 72)]]


def grass_clump(a, seed):
    """An irregular patch of grass that stays clear of the tile edges."""
    n = periodic_noise(seed, 4)
    rng = random.Random(seed)
    patch = np.zeros((T, T), bool)
    for y in range(T):
        for x in range(T):
            # big enough that neighbouring patches meet along the edges,
            # ragged enough that a lone edge does not look cut off
            d = max(abs(x + 0.5 - 16), abs(y + 0.5 - 16)) * 0.55 \
                + math.hypot(x + 0.5 - 16, y + 0.5 - 16) * 0.5
            edge = x in (0, 31) or y in (0, 31)
            if d < 13.0 + n[y, x] * 6.0 and not (edge and n[y, x] < 0.55):
                patch[y, x] = True
    shade = np.zeros((T, T), bool)
    shade[1:, 1:] = patch[:-1, :-1]
    for y, x in zip(*np.nonzero(shade & ~patch)):
        a[y, x] = q(mix(a[y, x], (46, 40, 20), 0.35))
    for y, x in zip(*np.nonzero(patch)):
        v = n[y, x] + rng.uniform(-0.2, 0.2)
        a[y, x] = GRASS[1] if v < 0.45 else GRASS[2]
    # blades: short strokes, light tip over dark root, fringe at the rim
    for _ in range(70):
        x, y = rng.randrange(2, 30), rng.randrange(3, 30)
        if not patch[y, x]:
            continue
        h = rng.choice((2, 3, 3, 4))
        lean = rng.choice((-1, 0, 0, 1))
        for k in range(h):
            px, py = x + (lean if k == h - 1 else 0), y - k
            put(a, px, py, GRASS[0] if k == 0 else GRASS[3] if k == h - 1 else GRASS[2])
    # ragged edge of blades sticking out over the earth
    for y, x in zip(*np.nonzero(outline_of(patch))):
        if rng.random() < 0.35 and 1 <= x <= 30 and 1 <= y <= 30:
            a[y, x] = GRASS[1] if y < 16 else GRASS[0]
    return patch


ROCK = [q(c) for c in [(64, 64, 72), (104, 104, 112), (144, 144, 148), (196, 192, 188)]]


def rocks_tile(base):
    a = base.copy()
    grass_clump(a, 31)
    stone(a, 13.0, 14.0, 6.5, 5.0, ROCK, seed=1)
    stone(a, 21.5, 19.5, 4.5, 3.5, ROCK, seed=2)
    stone(a, 10.0, 21.5, 3.0, 2.2, ROCK, seed=3)
    # moss and a few blades in front of the stones
    for (x, y) in [(9, 18), (16, 18), (18, 22), (24, 23), (6, 16)]:
        put(a, x, y, GRASS[2])
        put(a, x, y - 1, GRASS[3])
    for (x, y) in [(12, 10), (13, 10), (11, 11)]:
        put(a, x, y, (120, 152, 72))
    return a


REED_STEM = [q(c) for c in [(96, 88, 32), (168, 160, 72), (216, 208, 120)]]
REED_HEAD = [q(c) for c in [(56, 28, 16), (96, 52, 28), (140, 84, 48)]]


def reeds_tile(base):
    a = base.copy()
    grass_clump(a, 47)
    # stalks: (x of root, root y, height, lean at top, has a head)
    stalks = [(9, 25, 17, 1, True), (13, 26, 21, 0, True), (17, 24, 15, -1, False),
              (20, 26, 19, 1, True), (24, 25, 13, 0, False), (15, 23, 11, -2, False),
              (11, 22, 9, -1, False)]
    for (x0, y0, h, lean, head) in stalks:
        pts = []
        for k in range(h):
            t = k / max(1, h - 1)
            pts.append((int(round(x0 + lean * t * t)), y0 - k))
        for (x, y) in pts:
            put(a, x, y, REED_STEM[1])
            put(a, x + 1, y, REED_STEM[0])
        for (x, y) in pts[::3]:
            put(a, x, y, REED_STEM[2])
        if head:
            hx, hy = pts[-1]
            for k in range(6):
                yy = hy + 1 + k
                put(a, hx - 1, yy, REED_HEAD[0])
                put(a, hx, yy, REED_HEAD[2] if k < 3 else REED_HEAD[1])
                put(a, hx + 1, yy, REED_HEAD[1] if k < 4 else REED_HEAD[0])
                put(a, hx + 2, yy, REED_HEAD[0])
            put(a, hx, hy, REED_STEM[2])
            put(a, hx, hy + 7, REED_HEAD[0])
            put(a, hx + 1, hy + 7, REED_HEAD[0])
    # leaves arching out from the foot
    for (x0, y0, dx) in [(12, 25, -1), (19, 25, 1), (15, 26, 1), (10, 26, -1)]:
        for k in range(5):
            put(a, x0 + dx * k, y0 - (k if k < 3 else 5 - k) - 1,
                REED_STEM[2] if k < 2 else REED_STEM[1])
    return a


def pebbles_tile(base, grit):
    a = base.copy()
    pal1 = [q(c) for c in [(96, 80, 64), (136, 118, 98), (168, 150, 124), (200, 186, 160)]]
    pal2 = [q(c) for c in [(92, 72, 52), (128, 104, 78), (158, 134, 102), (190, 170, 136)]]
    stone(a, 9.0, 12.0, 2.8, 2.0, pal1, seed=5)
    stone(a, 23.5, 23.0, 2.3, 1.7, pal2, seed=6)
    # grit kicked up around them
    for (x, y) in [(13, 13), (6, 10), (20, 24), (26, 21)]:
        a[y, x] = grit
    return a


# ---------------------------------------------------------------- railway

RAIL = [q(c) for c in [(36, 36, 44), (72, 72, 84), (112, 112, 124), (168, 168, 176),
                       (216, 216, 224)]]
SLEEPER = [q(c) for c in [(60, 36, 22), (96, 62, 38), (128, 88, 54), (152, 108, 66),
                          (184, 140, 90)]]
RAIL_W = 6
RAIL_X_LEFT = 19    # rail's left column inside the left-rail tile
RAIL_X_RIGHT = 7    # rail's left column inside the right-rail tile


def rail_column(a, x0, y_range, manual=False):
    """A rail seen from above: dark foot, lit head with a shine line."""
    prof = [RAIL[0], RAIL[2], RAIL[4], RAIL[3], RAIL[1], RAIL[0]]
    for y in y_range:
        for k, c in enumerate(prof):
            a[y, x0 + k] = c
        # shadow thrown to the lower right
        a[y, x0 + RAIL_W] = q(mix(a[y, x0 + RAIL_W], (30, 20, 14), 0.45))
    if not manual:
        # a fishplate joint at the middle of the tile: bolts on both sides
        for y in (14, 17):
            if y in y_range:
                a[y, x0] = RAIL[1]
                a[y, x0 + RAIL_W - 1] = RAIL[1]
        for y in (15, 16):
            if y in y_range:
                a[y, x0 + 2] = RAIL[3]
                a[y, x0 + 3] = RAIL[2]


def sleeper_band(a, x_from, x_to, round_left=False, round_right=False):
    """A weathered wooden sleeper across rows 9..22 of the tile."""
    top, bot = 8, 23
    for x in range(x_from, x_to):
        for y in range(top, bot + 1):
            if y == top:
                c = SLEEPER[4]
            elif y == bot:
                c = SLEEPER[0]
            elif y == bot - 1:
                c = SLEEPER[1]
            else:
                # grain: lines that run along the sleeper
                g = (y * 7 + (x // 9) * 3 + (1 if (x * 5 + y * 3) % 11 == 0 else 0)) % 4
                c = SLEEPER[3] if g == 0 else SLEEPER[2]
                if (y - top) in (4, 10) and (x * 3 + y) % 7 < 5:
                    c = SLEEPER[1]
            a[y, x] = c
        # ground shadow under the sleeper
        a[bot + 1, x] = q(mix(a[bot + 1, x], (30, 20, 14), 0.4))
    for y in range(top, bot + 1):
        if round_left:
            a[y, x_from] = SLEEPER[1] if top < y < bot else a[y, x_from - 1]
        if round_right:
            a[y, x_to - 1] = SLEEPER[0] if top < y < bot else a[y, x_to]


def tie_plate(a, x0):
    """Iron plate and spikes where the rail crosses the sleeper."""
    for y in range(10, 22):
        for x in (x0 - 2, x0 - 1, x0 + RAIL_W, x0 + RAIL_W + 1):
            a[y, x] = RAIL[1] if y not in (10, 21) else RAIL[0]
    for (x, y) in [(x0 - 2, 12), (x0 - 2, 19), (x0 + RAIL_W + 1, 12), (x0 + RAIL_W + 1, 19)]:
        a[y, x] = RAIL[3]


def railway(base, manual=False):
    """Tiles 15, 16, 17 (rails on ground) and 21, 22, 23 (sleeper row)."""
    t15, t17 = base.copy(), base.copy()
    rail_column(t15, RAIL_X_LEFT, range(T), manual)
    rail_column(t17, RAIL_X_RIGHT, range(T), manual)
    if manual:
        # the manual's sheet keeps a plain rail with a worn shine
        for y in range(2, T - 2, 5):
            t15[y, RAIL_X_LEFT + 2] = RAIL[3]
            t17[y, RAIL_X_RIGHT + 2] = RAIL[3]
    t16 = pebbles_tile(base, GROUND[4] if manual else EARTH[6])
    t21, t22, t23 = base.copy(), base.copy(), base.copy()
    sleeper_band(t21, 6, T, round_left=True)
    sleeper_band(t22, 0, T)
    sleeper_band(t23, 0, T - 6, round_right=True)
    for t, x0 in ((t21, RAIL_X_LEFT), (t23, RAIL_X_RIGHT)):
        tie_plate(t, x0)
        rail_column(t, x0, range(T), manual=True)
    # a knot and a crack on the middle piece
    for (x, y, c) in [(12, 14, SLEEPER[0]), (13, 14, SLEEPER[1]), (12, 15, SLEEPER[1]),
                      (24, 17, SLEEPER[1]), (25, 17, SLEEPER[1]), (26, 18, SLEEPER[1])]:
        t22[y, x] = c
    return t15, t16, t17, t21, t22, t23


# ---------------------------------------------------------------- frames

GAME_FRAME = [(16, 16, 24), (56, 56, 72), (88, 88, 108), (124, 124, 144),
              (76, 76, 96), (48, 48, 64), (28, 28, 40), (150, 116, 56)]
MANUAL_FRAME = [(36, 18, 10), (86, 48, 26), (124, 76, 40), (162, 110, 60),
                (112, 66, 34), (78, 42, 22), (52, 28, 14), (212, 172, 84)]
STUD = {
    "game": [(88, 64, 24), (184, 144, 64), (232, 200, 120)],
    "manual": [(120, 80, 24), (208, 168, 80), (248, 224, 144)],
}


def frame_colour(pal, r):
    """Colour of ring r (0 = outer edge, 15 = inner edge); mirror-symmetric,
    so one edge piece serves both sides of a frame."""
    return q(pal[min(r, 15 - r)])


def frame_pieces(pal, stud):
    corner = tile()
    for y in range(T):
        for x in range(T):
            r = min(x, y, 31 - x, 31 - y)
            corner[y, x] = frame_colour(pal, r)
    edge = tile()
    for y in range(T):
        for x in range(16):
            edge[y, x] = frame_colour(pal, x)          # vertical edge, stripes down
            edge[y, 16 + x] = frame_colour(pal, y % 16)  # horizontal edge
    # a stud on the centre bead of every 16-px piece
    def studs(a, ox, oy):
        a[oy + 7, ox + 7] = q(stud[2])
        a[oy + 7, ox + 8] = q(stud[1])
        a[oy + 8, ox + 7] = q(stud[1])
        a[oy + 8, ox + 8] = q(stud[0])
    for oy in (0, 16):
        for ox in (0, 16):
            studs(corner, ox, oy)
            studs(edge, ox, oy)
    return corner, edge


def lighter_pieces(corner, edge):
    """Tile 5: the frame pieces again, lightened."""
    a = tile()
    a[0:16, 0:16] = corner[0:16, 0:16]
    a[0:16, 16:32] = edge[0:16, 0:16]
    a[16:32, 0:16] = edge[0:16, 16:32]
    a[16:32, 16:32] = corner[16:32, 16:32]
    out = tile()
    for y in range(T):
        for x in range(T):
            out[y, x] = q(mix(a[y, x], (255, 255, 255), 0.42))
    return out


# ---------------------------------------------------------------- wood and mats

def wood_tile(pal, seed, bands=3, knot=None, seam=True, amp=2.6):
    """Plank wood with grain running across; wraps at 32 px both ways.

    pal: 5 colours, darkest first.
    """
    rng = random.Random(seed)
    wob = periodic_noise(seed, 4)[0] * 2 - 1          # 1-D wobble along x
    wob2 = periodic_noise(seed + 7, 8)[0] * 2 - 1
    a = tile()
    for y in range(T):
        for x in range(T):
            yy = y + amp * wob[x] + 0.8 * wob2[x]
            if knot:
                kx, ky, kr = knot
                dx = ((x - kx + 16) % 32) - 16
                d = math.hypot(dx, (y - ky) * 1.6)
                if d < kr * 2.5:
                    yy += (kr * 2.5 - d) * 0.9 * (1 if y < ky else -1)
            v = math.sin(2 * math.pi * (yy * bands / T)) * 0.5 + 0.5
            v += rng.uniform(-0.07, 0.07)
            k = 1 if v < 0.16 else 2 if v < 0.55 else 3 if v < 0.9 else 4
            a[y, x] = q(pal[k])
    # pores: short dark dashes along the grain
    for _ in range(9):
        x, y = rng.randrange(T), rng.randrange(T - 1)
        for k in range(rng.choice((2, 3))):
            put_wrap(a, x + k, y, pal[1])
    if knot:
        kx, ky, kr = knot
        for y in range(T):
            for x in range(T):
                dx = ((x - kx + 16) % 32) - 16
                d = math.hypot(dx, (y - ky) * 1.6)
                if d < kr:
                    a[y, x] = q(pal[0] if d < kr * 0.5 else pal[1])
    if seam:
        for x in range(T):
            a[T - 1, x] = q(pal[0])
            a[0, x] = q(mix(pal[4], pal[3], 0.3))
    return a


def fine_wood(pal, seed):
    """Calm light boards for behind text: flat tone, thin broken grain lines.

    pal: 5 colours, darkest first.
    """
    rng = random.Random(seed)
    tone = periodic_noise(seed, 2) * 0.6 + periodic_noise(seed + 1, 4) * 0.4
    a = tile()
    for y in range(T):
        for x in range(T):
            v = tone[y, x] + rng.uniform(-0.05, 0.05)
            a[y, x] = q(pal[2] if v < 0.42 else pal[3] if v < 0.78 else pal[4])
    lines = [(3, 1.2, 0.0), (8, 0.8, 1.7), (13, 1.5, 3.1), (19, 1.0, 0.9),
             (24, 1.3, 2.4), (28, 0.7, 4.0)]
    for (y0, amp, ph) in lines:
        gap_at = rng.randrange(T)
        for x in range(T):
            if (x - gap_at) % T < rng.choice((3, 4, 6)):
                continue
            y = int(round(y0 + amp * math.sin(2 * math.pi * x / T + ph)))
            put_wrap(a, x, y, pal[1] if (x + y0) % 5 else pal[0])
    # light flecks along the grain
    for _ in range(10):
        x, y = rng.randrange(T), rng.randrange(T - 1)
        put_wrap(a, x, y, pal[4])
        put_wrap(a, x + 1, y, pal[4])
    for x in range(T):
        a[T - 1, x] = q(pal[0])
        a[0, x] = q(mix(pal[4], pal[3], 0.3))
    return a


MANUAL_WOOD = [(160, 116, 72), (204, 162, 110), (222, 184, 134), (230, 196, 148), (240, 212, 166)]
GAME_WOOD = [(112, 72, 40), (150, 100, 58), (176, 126, 78), (196, 148, 96), (214, 170, 116)]
DARK_WOOD = [(70, 36, 22), (104, 54, 32), (130, 72, 42), (150, 88, 52), (172, 108, 66)]


def straw_mat():
    """Yellow straw matting: woven rows with a warp thread every 8 px."""
    light, mid, dark, warp = (240, 222, 150), (228, 206, 130), (210, 184, 110), (186, 160, 92)
    a = tile()
    for y in range(T):
        row = y // 2
        for x in range(T):
            if x % 8 == 7:
                c = warp
            else:
                # each weave row is a strand: lit top pixel, shaded bottom
                c = light if y % 2 == 0 else mid
                if (x + (row % 2) * 4) % 8 in (0, 6):
                    c = dark if y % 2 else mid
            a[y, x] = q(c)
    # a few loose fibres so it does not look machine-made
    rng = random.Random(11)
    for _ in range(7):
        x, y = rng.randrange(T), rng.randrange(T)
        put_wrap(a, x, y, (246, 232, 172))
    return a


def parquet():
    """Floor pattern: a basket weave of short oak strips."""
    pal = [(120, 80, 44), (160, 112, 64), (184, 136, 84), (204, 158, 104)]
    a = tile()
    for y in range(T):
        for x in range(T):
            bx, by = x // 16, y // 16
            lx, ly = x % 16, y % 16
            across = (bx + by) % 2 == 0
            s = ly if across else lx
            along = lx if across else ly
            if s % 4 == 3:
                c = pal[0]
            elif s % 4 == 0:
                c = pal[3]
            else:
                c = pal[2] if (along * 3 + s * 5 + bx * 7) % 13 else pal[1]
            a[y, x] = q(c)
    return a


def stone_floor():
    """Floor pattern: cream and terracotta tiles in a check, with grout."""
    a = tile()
    rng = random.Random(4)
    for y in range(T):
        for x in range(T):
            bx, by = x // 16, y // 16
            lx, ly = x % 16, y % 16
            if lx == 15 or ly == 15:
                c = (120, 104, 88)
            elif (bx + by) % 2 == 0:
                c = (232, 216, 184) if lx and ly else (248, 240, 216)
                if rng.random() < 0.05:
                    c = (216, 196, 160)
            else:
                c = (184, 96, 60) if lx and ly else (212, 128, 84)
                if rng.random() < 0.05:
                    c = (160, 80, 48)
            if lx == 14 or ly == 14:
                c = mix(c, (60, 40, 30), 0.35)
            a[y, x] = q(c)
    return a


# ---------------------------------------------------------------- sprites

ORBS = {
    "red":    [(72, 8, 16), (152, 24, 32), (208, 48, 48), (240, 104, 88), (255, 192, 168)],
    "orange": [(96, 40, 8), (192, 88, 16), (240, 136, 32), (255, 184, 80), (255, 232, 168)],
    "blue":   [(16, 24, 88), (32, 64, 176), (56, 112, 224), (112, 168, 248), (200, 232, 255)],
    "yellow": [(96, 72, 8), (184, 144, 16), (232, 200, 32), (255, 232, 96), (255, 248, 200)],
}
CONE = [(24, 56, 40), (32, 112, 72), (56, 160, 96), (120, 208, 136), (216, 255, 216)]


def shaded_disc(cx, cy, r):
    """Cells inside a disc and their light level (0 dark .. 1 bright)."""
    cells = {}
    L = (-0.45, -0.6, 0.66)
    for y in range(T):
        for x in range(T):
            dx, dy = (x + 0.5 - cx) / r, (y + 0.5 - cy) / r
            d2 = dx * dx + dy * dy
            if d2 <= 1.0:
                nz = math.sqrt(1 - d2)
                cells[(x, y)] = max(0.0, dx * L[0] + dy * L[1] + nz * L[2])
    return cells


def ring_dots(frame):
    """Eight dots around the orb; the second frame turns them half a step."""
    dots = []
    off = 0.0 if frame == 0 else math.pi / 8
    for k in range(8):
        ang = off + k * math.pi / 4
        dots.append((15.5 + 12.2 * math.cos(ang), 15.5 + 12.2 * math.sin(ang)))
    return dots


def orb_sprite(name, frame):
    pal = [q(c) for c in ORBS[name]]
    a = tile(SPRITE_BG)
    body = np.zeros((T, T), bool)
    disc = shaded_disc(15.5, 15.5, 8.6 if frame == 0 else 8.2)
    for (x, y), lit in disc.items():
        k = 1 if lit < 0.25 else 2 if lit < 0.6 else 3 if lit < 0.9 else 4
        a[y, x] = pal[k]
        body[y, x] = True
    # specular glint, and a rim of reflected light at the lower right
    gx, gy = (11, 11) if frame == 0 else (12, 11)
    for (x, y) in [(gx, gy), (gx + 1, gy), (gx, gy + 1)]:
        a[y, x] = q((248, 240, 232))
    for (x, y), lit in disc.items():
        dx, dy = x + 0.5 - 15.5, y + 0.5 - 15.5
        if 0.72 < math.hypot(dx, dy) / 8.4 and dx + dy > 7:
            a[y, x] = pal[2]
    # the dots of the ring: a lit pixel on a tinted 2x2 seed
    for (dx, dy) in ring_dots(frame):
        x0, y0 = int(round(dx - 1)), int(round(dy - 1))
        for (x, y) in [(x0, y0), (x0 + 1, y0), (x0, y0 + 1), (x0 + 1, y0 + 1)]:
            a[y, x] = pal[3]
            body[y, x] = True
        a[y0, x0] = pal[4]
        a[y0 + 1, x0 + 1] = pal[2]
    ol = outline_of(body)
    for y, x in zip(*np.nonzero(ol)):
        a[y, x] = pal[0]
    a[enclosed_background(a)] = pal[0]
    return a


def cone_sprite(up, frame):
    """A cone pointing the way it moves, a trail of dots behind it."""
    pal = [q(c) for c in CONE]
    a = tile(SPRITE_BG)
    body = np.zeros((T, T), bool)
    bob = 0 if frame == 0 else 1
    apex, base, hw = 2 + bob, 19 + bob, 9.5
    cells = {}
    for y in range(T):
        for x in range(T):
            py = y + 0.5
            dx = x + 0.5 - 16
            inside = False
            if apex <= py <= base:
                w = hw * (py - apex) / (base - apex)
                inside = abs(dx) <= w + 0.3
                t = dx / max(w, 0.8)
            e = (dx / hw) ** 2 + ((py - base) / 3.2) ** 2
            if py > base and e <= 1.0:
                inside, t = True, dx / hw
            if inside:
                cells[(x, y)] = t
    for (x, y), t in cells.items():
        k = 4 if -0.55 < t < -0.3 else 3 if t < -0.05 else 2 if t < 0.45 else 1
        a[y, x] = pal[k]
        body[y, x] = True
    # base rim: a thin lighter ellipse line where the cone sits
    for (x, y), t in cells.items():
        if y == base + 2 and abs(x + 0.5 - 16) < hw - 1:
            a[y, x] = pal[1]
    trail = [[(10, 24, 2), (20, 24, 2), (15, 28, 2)],
             [(15, 24, 2), (8, 28, 2), (22, 28, 2)]][frame]
    for (x0, y0, s) in trail:
        y0 = y0 + (1 if frame else 0) - bob
        pts = [(x0, y0), (x0 + 1, y0), (x0, y0 + 1), (x0 + 1, y0 + 1)] if s == 2 else [(x0, y0)]
        for (x, y) in pts:
            a[y, x] = pal[3]
            body[y, x] = True
        a[y0, x0] = pal[4]
    ol = outline_of(body)
    for y, x in zip(*np.nonzero(ol)):
        a[y, x] = pal[0]
    a[enclosed_background(a)] = pal[0]
    if not up:
        # shading runs across the cone, so a mirror keeps the light right
        a = a[::-1].copy()
    return a


def mask_for(pictures):
    m = np.zeros((T, T), bool)
    for p in pictures:
        m |= np.any(p != SPRITE_BG, axis=2)
    out = tile((0, 0, 0))
    out[m] = SPRITE_BG
    return out


# ---------------------------------------------------------------- sheets

def build_sheet(kind):
    manual = kind == "manual"
    sheet = np.zeros((192, 192, 3), np.uint8)

    def place(n, a):
        x, y = (n % 6) * T, (n // 6) * T
        sheet[y:y + T, x:x + T] = a

    ground = ground_base() if manual else field_ground()
    frame_pal = MANUAL_FRAME if manual else GAME_FRAME
    corner, edge = frame_pieces(frame_pal, STUD[kind])

    place(0, fine_wood(MANUAL_WOOD, 21) if manual
          else wood_tile(GAME_WOOD, 22, knot=(22, 12, 2.6)))
    place(1, corner)
    place(2, edge)
    place(3, straw_mat() if manual else rocks_tile(ground))
    place(4, reeds_tile(ground))
    place(5, lighter_pieces(corner, edge))

    orbs = {c: (orb_sprite(c, 0), orb_sprite(c, 1)) for c in ORBS}
    if manual:
        place(6, parquet())
        place(7, stone_floor())
        place(12, wood_tile(DARK_WOOD, 23, bands=4, knot=(9, 20, 2.2)))
    else:
        place(6, orbs["orange"][0])
        place(7, orbs["orange"][1])
        place(12, orbs["red"][0])
    place(13, orbs["red"][1])
    place(18, orbs["blue"][0])
    place(19, orbs["blue"][1])
    place(24, orbs["yellow"][0])
    place(25, orbs["yellow"][1])
    cones = [cone_sprite(True, 0), cone_sprite(True, 1), cone_sprite(False, 0),
             cone_sprite(False, 1)]
    for n, c in zip((8, 9, 10, 11), cones):
        place(n, c)

    t15, t16, t17, t21, t22, t23 = railway(ground, manual)
    for n, t in zip((15, 16, 17, 21, 22, 23), (t15, t16, t17, t21, t22, t23)):
        place(n, t)
    place(28, ground)
    for n in EMPTY_TILES:
        place(n, tile(SPRITE_BG))

    # masks: one per sheet x, covering every picture read at that x
    served = mask_sources(sheet, manual)
    for col, tiles_ in served.items():
        place(30 + col, mask_for([get(sheet, n) for n in tiles_]))
    check_sheet(sheet, manual)
    return sheet


def get(sheet, n):
    x, y = (n % 6) * T, (n // 6) * T
    return sheet[y:y + T, x:x + T]


def mask_sources(sheet, manual):
    """Which tiles each mask column serves.

    Idle orbs are read at x 0 / 32 on rows y 32, 64, 96, 128 (tiles 6/7,
    12/13, 18/19, 24/25); the cones at x 64..160 on row y 32 (8 to 11).
    The manual's tiles 6, 7 and 12 are floor and wood, not sprites.
    """
    col0 = [18, 24] + ([] if manual else [6, 12])
    col1 = [13, 19, 25] + ([] if manual else [7])
    return {0: col0, 1: col1, 2: [8], 3: [9], 4: [10], 5: [11]}


def enclosed_background(pic):
    """Background pixels that cannot be reached from the tile's border:
    holes inside a sprite, which would let the scenery show through it."""
    bg = np.all(pic == SPRITE_BG, axis=2)
    seen = np.zeros_like(bg)
    stack = [(y, x) for y in range(T) for x in range(T)
             if (y in (0, T - 1) or x in (0, T - 1)) and bg[y, x]]
    while stack:
        y, x = stack.pop()
        if seen[y, x]:
            continue
        seen[y, x] = True
        for yy, xx in ((y + 1, x), (y - 1, x), (y, x + 1), (y, x - 1)):
            if 0 <= yy < T and 0 <= xx < T and bg[yy, xx] and not seen[yy, xx]:
                stack.append((yy, xx))
    return bg & ~seen


def check_sheet(sheet, manual):
    for n in EMPTY_TILES:
        assert (get(sheet, n) == SPRITE_BG).all(), f"tile {n} must be empty"
    for col, tiles_ in mask_sources(sheet, manual).items():
        m = get(sheet, 30 + col)
        opaque = np.all(m == SPRITE_BG, axis=2)
        black = np.all(m == 0, axis=2)
        assert (opaque | black).all(), f"mask {30 + col} has stray colours"
        for n in tiles_:
            pic = get(sheet, n)
            shown = np.any(pic != SPRITE_BG, axis=2)
            assert (shown == opaque).all(), f"mask {30 + col} does not fit tile {n}"
            # AND with the picture must give the picture back exactly
            assert (pic[shown][:, 1] % 8 == 0).all(), f"tile {n}: green low bits"
            assert not enclosed_background(pic).any(), f"tile {n} has a hole"
    # a small frame as the kit draws it: every joint between its pieces,
    # corner to edge and edge to edge, must meet pixel for pixel
    f = small_frame(sheet)
    for k in (15, 31, 47):
        for band in (slice(0, 16), slice(48, 64)):
            assert (f[band, k] == f[band, k + 1]).all(), f"frame seam at x {k}"
            assert (f[k, band] == f[k + 1, band]).all(), f"frame seam at y {k}"
    # ground pieces share their borders, so they tile in any order
    g = get(sheet, 28)
    if not manual:
        # the game fills the whole screen with it: no lattice may show
        assert tile_sized_structure(g) < 3.0, "tile 28 shows a grid when repeated"
    for n in (16, 22):
        assert (get(sheet, n)[[0, -1]] == g[[0, -1]]).all(), f"tile {n} edge"
    for n in (15, 16, 17, 21, 22, 23, 28):
        assert (get(sheet, n)[:, :, 1] % 8 == 0).all(), f"tile {n}: green low bits"
    # rails run on unbroken from a plain row into a sleeper row and back
    for top, low in ((15, 21), (17, 23)):
        assert (get(sheet, top)[-1] == get(sheet, low)[-1]).all()
        assert (get(sheet, top)[0] == get(sheet, low)[0]).all()


def small_frame(sheet):
    """A 4x4 half-tile frame drawn piece by piece like the kit's frame."""
    out = np.zeros((64, 64, 3), np.uint8)

    def half(x, y, n):
        sx, sy = (n % 12) * 16, (n // 12) * 16
        out[y * 16:y * 16 + 16, x * 16:x * 16 + 16] = sheet[sy:sy + 16, sx:sx + 16]
    for i in (1, 2):
        half(i, 0, 5)
        half(i, 3, 5)
        half(0, i, 4)
        half(3, i, 4)
    for (x, y, n) in ((0, 0, 2), (3, 0, 3), (0, 3, 14), (3, 3, 15)):
        half(x, y, n)
    return out


# ---------------------------------------------------------------- icons

def icon_game(sheet):
    """A red orb in its ring of dots, standing on the battle ground."""
    a = get(sheet, 28).copy()
    orb = get(sheet, 12)
    m = np.any(orb != SPRITE_BG, axis=2)
    a[m] = orb[m]
    # a dark rim so the icon reads on any desktop
    for i in range(T):
        for (x, y) in [(i, 0), (i, T - 1), (0, i), (T - 1, i)]:
            a[y, x] = mix(a[y, x], (24, 16, 12), 0.7)
    return a


def icon_manual():
    """A small closed book: red cloth cover, gold title band, cream pages."""
    a = np.zeros((T, T, 4), np.uint8)
    cover = [(88, 16, 20), (140, 28, 32), (180, 44, 44), (214, 80, 72)]
    page = [(200, 184, 150), (236, 224, 196), (252, 246, 228)]
    gold = [(128, 92, 24), (212, 168, 64), (252, 224, 128)]

    def px(x, y, c, al=255):
        a[y, x] = (*c, al)

    # pages block, seen at the right and bottom edge (book lies slightly open)
    for y in range(5, 29):
        for x in range(8, 28):
            px(x, y, page[1] if (y % 2) else page[2])
        px(27, y, page[0])
    for x in range(8, 28):
        px(x, 28, page[0])
    # cover board
    for y in range(3, 27):
        for x in range(4, 25):
            c = cover[2]
            if x <= 7:
                c = cover[1] if x > 4 else cover[0]    # spine
            if x == 8:
                c = cover[0]                          # spine hinge
            if y == 3 or x == 24:
                c = cover[3] if y == 3 else cover[1]
            if y == 26:
                c = cover[0]
            px(x, y, c)
    # outline
    for y in range(2, 28):
        px(3, y, (40, 8, 12))
    for x in range(3, 26):
        px(x, 2, (40, 8, 12))
    for y in range(2, 30):
        px(28, y, (64, 48, 32))
    for x in range(4, 29):
        px(x, 29, (64, 48, 32))
    for y in range(3, 28):
        px(25, y, (40, 8, 12))
    for x in range(4, 26):
        px(x, 27, (40, 8, 12))
    # gold bands on the spine and a title plate
    for x in range(4, 8):
        for y in (6, 7, 22, 23):
            px(x, y, gold[1] if y % 2 == 0 else gold[0])
    for y in range(8, 16):
        for x in range(11, 22):
            edge = y in (8, 15) or x in (11, 21)
            px(x, y, gold[0] if edge else gold[2] if y == 9 else gold[1])
    for x in range(13, 20):
        px(x, 11, cover[0])
        if x % 2:
            px(x, 13, cover[1])
    # a ribbon marker hanging below
    for y in range(27, 32):
        px(18, y, (56, 96, 176))
        px(19, y, (32, 56, 120))
    # shine along the cover's top-left
    for k in range(9, 20):
        px(k, 4, cover[3])
    for k in range(4, 12):
        px(9, k, cover[3])
    rgb = np.zeros((T, T, 3), np.uint8)
    rgb[:, :] = (0, 0, 0)
    al = a[:, :, 3:4].astype(float) / 255
    rgb = (a[:, :, :3] * al + rgb * (1 - al)).astype(np.uint8)
    return rgb


def save(arr, name):
    ART.mkdir(parents=True, exist_ok=True)
    Image.fromarray(np.ascontiguousarray(arr), "RGB").save(ART / name)


def main():
    game = build_sheet("game")
    manual = build_sheet("manual")
    save(game, "tiles-game.png")
    save(manual, "tiles-manual.png")
    save(icon_game(game), "icon-game.png")
    save(icon_manual(), "icon-manual.png")


if __name__ == "__main__":
    main()
