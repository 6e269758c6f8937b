"""Title signboard (a carved wooden sign) and the cog-and-seven logo."""
import numpy as np
from PIL import Image, ImageDraw

from paint import LIGHT, Layer, S, blur, ramp, rgb

TAN = [(150, 108, 60), (196, 152, 96), (222, 188, 132), (238, 212, 162), (250, 234, 196)]
FRAME = [(22, 6, 2), (52, 16, 8), (84, 28, 16), (118, 46, 28), (156, 78, 50)]
LETTER = [(18, 7, 3), (40, 17, 8), (66, 32, 16), (98, 52, 28), (128, 76, 44)]

# The title is lettered by hand: each letter is a few brush strokes along
# centre lines (pixels, baseline at y 0, up is negative), drawn with a broad
# flat nib held at an angle, so the strokes swell and thin like a sign
# painter's.  Each letter leans and bounces a little off the line.
XH, ASC = 34.0, 56.0  # x-height and ascender of the centre lines
WIDE = 1.12  # letters drawn a little wider than tall, to fill the board
NIB = (6.4, 3.5, np.radians(38))  # half length, half thickness, angle of the nib


def bezier(*p, n=48):
    p = np.array(p, dtype=np.float64)
    t = np.linspace(0, 1, n)[:, None]
    if len(p) == 3:
        return (1 - t) ** 2 * p[0] + 2 * (1 - t) * t * p[1] + t ** 2 * p[2]
    return (1 - t) ** 3 * p[0] + 3 * (1 - t) ** 2 * t * p[1] + 3 * (1 - t) * t ** 2 * p[2] + t ** 3 * p[3]


def arc(cx, cy, rx, ry, t0, t1, n=72):
    t = np.linspace(t0, t1, n)
    return np.stack([cx + rx * np.cos(t), cy + ry * np.sin(t)], 1)


def line(*p, n=24):
    return np.concatenate([bezier(a, (np.add(a, b)) / 2, b, n=n) for a, b in zip(p, p[1:])])


def glyphs():
    """(advance, strokes, lean in degrees, drop in pixels) of each letter."""
    pi = np.pi
    t = [bezier((7, -ASC + 6), (7, -30), (6, -6), (7, -4)),
         bezier((7, -4), (8, 1), (16, 1), (23, -5)),
         line((-3, -XH + 1), (20, -XH - 1))]
    o = [arc(15, -XH / 2, 12, XH / 2 - 1, 0, 2 * pi + 0.25)]
    b = [bezier((5, -ASC - 1), (5, -30), (5, -12), (5, 0)),
         arc(18, -XH / 2, 12.5, XH / 2 - 1.5, pi + 0.75, 3 * pi - 0.55)]
    ll = [bezier((6, -ASC - 1), (6, -30), (5, -8), (6, -5)),
          bezier((6, -5), (7, 1), (12, 1), (17, -4))]
    e = [line((3, -XH / 2 + 1), (28, -XH / 2 - 1)),
         arc(15.5, -XH / 2, 12.5, XH / 2 - 1, -0.05, -2 * pi + 0.8)]
    seven = [bezier((1, -ASC + 8), (3, -ASC + 3), (8, -ASC + 4), (14, -ASC + 5)),
             bezier((14, -ASC + 5), (20, -ASC + 6), (24, -ASC + 4), (28, -ASC + 5)),
             bezier((28, -ASC + 5), (19, -ASC + 22), (12, -26), (11, 0))]
    return [(26, t, -4, 0), (33, o, 3, 1), (35, b, -3, -1), (35, b, 2, 1),
            (19, ll, -3, -1), (31, e, 4, 1), (30, seven, -5, -2)]


def word_strokes():
    """Every stroke of the word placed on one line, as arrays of points."""
    out, x = [], 0.0
    for adv, strokes, lean, drop in glyphs():
        a = np.radians(lean)
        rot = np.array([[np.cos(a), -np.sin(a)], [np.sin(a), np.cos(a)]])
        pivot = np.array([adv / 2, -XH / 2])
        for s in strokes:
            out.append(((s - pivot) @ rot.T + pivot + (x, drop)) * (WIDE, 1))
        x += adv + 4
    return out


def nib_polygon(x, y, scale):
    hl, ht, ang = NIB
    t = np.linspace(0, 2 * np.pi, 20, endpoint=False)
    px, py = hl * scale * np.cos(t), ht * scale * np.sin(t)
    c, s = np.cos(ang), np.sin(ang)
    return [(x + c * u + s * v, y - s * u + c * v) for u, v in zip(px, py)]


def lettering_mask(W, H, box=(22, 18, 298, 78)):
    """The word at S times the size, fitted and centred into box (1x pixels)."""
    strokes = word_strokes()
    pts = np.concatenate(strokes)
    pad = NIB[0]
    lo, hi = pts.min(0) - pad, pts.max(0) + pad
    k = min((box[2] - box[0]) / (hi[0] - lo[0]), (box[3] - box[1]) / (hi[1] - lo[1]))
    off = np.array([(box[0] + box[2]) / 2, (box[1] + box[3]) / 2]) - k * (lo + hi) / 2
    im = Image.new("L", (W * S, H * S), 0)
    d = ImageDraw.Draw(im)
    for s in strokes:
        p = (s * k + off) * S
        # resample evenly so the nib's stamps overlap into a smooth stroke
        seg = np.hypot(*np.diff(p, axis=0).T)
        u = np.concatenate([[0], np.cumsum(seg)])
        q = np.linspace(0, u[-1], max(2, int(u[-1] / 1.5)))
        p = np.stack([np.interp(q, u, p[:, 0]), np.interp(q, u, p[:, 1])], 1)
        f = q / max(u[-1], 1e-6)
        press = 0.9 + 0.1 * np.sin(np.pi * f)  # a touch more weight mid-stroke
        for (x, y), w in zip(p, press):
            d.polygon(nib_polygon(x, y, w * k * S), fill=255)
    return np.asarray(im, dtype=np.float64) / 255.0


def grain(w, h, seed, along_x=True, scale=1.0):
    """0..1 wood grain: wavy growth rings with a few darker streaks."""
    rng = np.random.default_rng(seed)
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float64) / scale
    if not along_x:
        xx, yy = yy, xx
    wob = 5 * np.sin(xx / 47 + rng.uniform(0, 6)) + 2.5 * np.sin(xx / 17 + yy / 29 + rng.uniform(0, 6))
    rings = (np.sin((yy + wob) / 2.6 + 1.6 * np.sin(yy / 11)) + 1) / 2
    lines = rings ** 6  # thin late-wood lines
    streak = np.sin((yy + wob * 1.4) / 9.0 + 2) * 0.5 + 0.5
    return np.clip(0.62 + 0.1 * (rings - 0.5) - 0.38 * lines + 0.2 * (streak - 0.5), 0, 1)


def to_image(c):
    return Image.fromarray((np.clip(c, 0, 1) * 255).round().astype(np.uint8), "RGB")


def make_kanban():
    W, H, F = 320, 96, 10  # size and frame width
    # board: horizontal planks of tan wood
    g = grain(W, H, 1)
    board = ramp(TAN, 0.25 + 0.6 * g)
    # two plank seams
    for y in (33, 64):
        board[y] *= 0.72
        board[y + 1] = np.minimum(board[y + 1] * 1.08, 1)
    # knots
    yy, xx = np.mgrid[0:H, 0:W]
    for kx, ky in ((58, 20), (250, 74), (176, 48)):
        d = np.hypot((xx - kx) / 2.2, yy - ky)
        ring = 0.5 + 0.5 * np.cos(d * 1.6)
        board *= (1 - 0.22 * np.clip(1 - d / 6, 0, 1) * ring)[..., None]
    # inner bevel: the frame casts a shadow on the top and left of the board
    depth = np.minimum.reduce([xx - F, yy - F, (W - 1 - F) - xx, (H - 1 - F) - yy]).astype(np.float64)
    top_left = (yy - F < 4) & (yy - F <= xx - F) | (xx - F < 4) & (xx - F < yy - F)
    shade = np.where(top_left, 0.62 + 0.09 * np.clip(depth, 0, 4), 1.0)
    shade = np.where(~top_left & (depth < 2), 1.1, shade)
    board = board * shade[..., None]
    # a routed groove running round the board, a few pixels in
    groove = depth == 4
    board = np.where(groove[..., None], board * 0.62, board)
    board = np.where((depth == 5)[..., None], np.minimum(board * 1.12, 1), board)
    img = to_image(board)

    # carved letters: cut with a V-tool along the brush-drawn word, the cut
    # stained dark; the wall facing the light catches a little of it
    m4 = lettering_mask(W, H)
    h = blur(m4, 2.2 * S) * m4
    gy, gx = np.gradient(h)
    k = -2.6 * S  # negative relief: the surface goes down into the wood
    nx, ny, nz = -gx * k, -gy * k, np.ones_like(gx)
    lam = (nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2]) / np.sqrt(nx * nx + ny * ny + nz * nz)
    lit = Image.fromarray((np.clip(lam, 0, 1) * m4 * 255).round().astype(np.uint8), "L")
    m = np.asarray(Image.fromarray((m4 * 255).astype(np.uint8), "L").resize((W, H), Image.BOX),
                   dtype=np.float64) / 255.0
    lam1 = np.asarray(lit.resize((W, H), Image.BOX), dtype=np.float64) / 255.0 / np.maximum(m, 1e-6)
    shift = lambda a, dx, dy: np.roll(np.roll(a, dy, 0), dx, 1)
    c = np.asarray(img, dtype=np.float64) / 255.0
    # the board's cut edge below and right of each stroke catches the light,
    # the edge above and left falls into the cut's shadow
    lip = np.clip(shift(m, 1, 1) - m, 0, 1)
    c = c * (1 - 0.55 * lip[..., None]) + np.array([1.0, 0.96, 0.86]) * 0.55 * lip[..., None]
    dark = np.clip(shift(m, -1, -1) - m, 0, 1) * (1 - lip)
    c = c * (1 - 0.35 * dark[..., None])
    stain = ramp(LETTER, np.clip(0.02 + 0.8 * lam1 + 0.3 * (grain(W, H, 5) - 0.6), 0, 1))
    rim = np.clip(m - np.minimum.reduce([shift(m, 1, 0), shift(m, -1, 0), shift(m, 0, 1), shift(m, 0, -1)]), 0, 1)
    stain = stain * (1 - 0.35 * rim[..., None])
    c = c * (1 - m[..., None]) + stain * m[..., None]
    img = to_image(c)

    # frame: dark red-brown, grain along each side, mitred corners, rounded edge
    f = np.zeros((H, W, 3))
    gh, gv = grain(W, H, 2, True, 0.6), grain(W, H, 3, False, 0.6)
    horiz = (np.minimum(yy, H - 1 - yy) <= np.minimum(xx, W - 1 - xx))
    gg = np.where(horiz, gh, gv)
    edge = np.minimum.reduce([xx, yy, W - 1 - xx, H - 1 - yy]).astype(np.float64)
    # raised profile: lit outer lip, flat face, a dark step down to the board
    profile = np.array([0.0, 0.95, 0.8, 0.62, 0.55, 0.52, 0.48, 0.4, 0.22, 0.06])
    tone = profile[np.clip(edge, 0, F - 1).astype(int)]
    far = ((yy > H / 2) & (H - 1 - yy <= np.minimum(xx, W - 1 - xx))) | ((xx > W / 2) & (W - 1 - xx < np.minimum(yy, H - 1 - yy)))
    tone = np.where(far & (edge < 4), tone * 0.6, tone)
    tone = np.clip(tone + 0.55 * (gg - 0.55), 0, 1)
    f = ramp(FRAME, tone)
    # mitre lines at the corners
    mitre = (np.abs(np.abs(xx - np.where(xx < W / 2, 0, W - 1)) - np.abs(yy - np.where(yy < H / 2, 0, H - 1))) < 0.6)
    f = np.where(mitre[..., None], f * 0.55, f)
    f[edge == 0] = rgb((20, 6, 2))
    f[edge == F - 1] = rgb((26, 8, 4))
    frame_mask = edge < F
    c = np.asarray(img, dtype=np.float64) / 255.0
    c[frame_mask] = f[frame_mask]
    img = to_image(c)

    # brass bolts in the four corners and the middle of the long sides
    L = Layer(W, H)
    L.a[:] = 0
    brass = [(60, 40, 12), (130, 96, 36), (196, 160, 70), (240, 214, 130), (255, 250, 220)]
    for x, y in ((4.5, 4.5), (W - 5.5, 4.5), (4.5, H - 5.5), (W - 5.5, H - 5.5), (W / 2, 4.5), (W / 2, H - 5.5)):
        L.part(L.circle(x, y, 3.6), brass, bevel=1.4, gloss=0.9, edge=0.5)
        L.fill(L.rect(x - 2.2, y - 0.35, x + 2.2, y + 0.35), (70, 46, 14), 0.9)
    bolts = L.reduce(24, outline=(20, 6, 2), outline_mix=0.2)
    img.paste(bolts, (0, 0), bolts)
    return img


def make_rogo():
    """A gold cog with a red seven, on pure black."""
    L = Layer(64)
    cx = cy = 31.5
    teeth = []
    for k in range(10):
        t = k * np.pi / 5 - np.pi / 2
        d = np.array([np.cos(t), np.sin(t)])
        n = np.array([-d[1], d[0]])
        p = [(cx, cy) + d * 22 + n * 4.2, (cx, cy) + d * 29.5 + n * 3.0,
             (cx, cy) + d * 29.5 - n * 3.0, (cx, cy) + d * 22 - n * 4.2]
        teeth.append([tuple(q) for q in p])
    gold = [(60, 34, 6), (136, 90, 20), (206, 152, 40), (246, 212, 96), (255, 252, 214)]
    cog = L.circle(cx, cy, 24)
    for p in teeth:
        cog = np.maximum(cog, L.poly(p))
    cog = np.clip(cog - L.circle(cx, cy, 17.5), 0, 1)
    L.part(cog, gold, bevel=2.2, gloss=0.9, edge=0.5)
    # dark steel disc inside, then the seven
    L.part(L.circle(cx, cy, 17.5), [(10, 12, 20), (24, 28, 44), (44, 52, 80), (80, 92, 130)], bevel=5,
           relief=-0.8, edge=0.6)
    red = [(80, 6, 6), (170, 20, 20), (230, 50, 36), (255, 120, 90), (255, 220, 200)]
    seven = L.poly([(21, 18), (43, 18), (43, 23.5), (33.5, 46), (27, 46), (36, 24), (21, 24)])
    L.part(seven, red, bevel=1.6, gloss=0.9, edge=0.5)
    # four bolts on the ring
    for k in range(4):
        t = k * np.pi / 2 + np.pi / 4
        L.part(L.circle(cx + 20.5 * np.cos(t), cy + 20.5 * np.sin(t), 1.5),
               [(90, 90, 100), (200, 200, 210), (255, 255, 255)], bevel=0.7, edge=0.6)
    logo = L.reduce(40, outline=(0, 0, 0), outline_mix=0.0)
    out = Image.new("RGB", (64, 64), (0, 0, 0))
    out.paste(logo, (0, 0), logo)
    return out
