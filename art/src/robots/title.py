"""Title signboard (a carved wooden sign) and the cog-and-seven logo."""
import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

from paint import Layer, S, ramp, rgb

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
TITLE = "tobble7"

TAN = [(150, 108, 60), (196, 152, 96), (222, 188, 132), (238, 212, 162), (250, 234, 196)]
FRAME = [(22, 6, 2), (52, 16, 8), (84, 28, 16), (118, 46, 28), (156, 78, 50)]
INK = (52, 26, 14)


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

    # carved letters: dark ink, light lip below-right, dark lip above-left
    font = ImageFont.truetype(FONT, 60)
    probe = ImageDraw.Draw(img)
    l, t, r, b = probe.textbbox((0, 0), TITLE, font=font)
    x0 = (W - (r - l)) // 2 - l
    y0 = (H - (b - t)) // 2 - t - 1
    mask = Image.new("L", (W, H), 0)
    ImageDraw.Draw(mask).text((x0, y0), TITLE, font=font, fill=255)
    m = np.asarray(mask, dtype=np.float64) / 255.0
    shift = lambda a, dx, dy: np.roll(np.roll(a, dy, 0), dx, 1)
    c = np.asarray(img, dtype=np.float64) / 255.0
    lip = np.clip(shift(m, 1, 1) + shift(m, 2, 2) - m, 0, 1)
    c = c * (1 - lip[..., None]) + np.array([1.0, 0.95, 0.84]) * lip[..., None]
    ink = ramp([(24, 10, 4), INK, (92, 52, 28)], np.clip(0.5 + 0.8 * (grain(W, H, 5) - 0.55), 0, 1))
    inner = np.clip(m - shift(m, 1, 1), 0, 1)  # top-left inside of each stroke lies in shadow
    ink = ink * (1 - 0.45 * inner[..., None])
    c = c * (1 - m[..., None]) + ink * m[..., None]
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
