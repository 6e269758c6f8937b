"""Builds the five robot pictures, the title signboard and the logo.

Run from anywhere:  python3 art/src/robots/make.py [--sheet TILES.png] [--preview DIR]

Each robot is painted as its own RGBA layer (kept in layers/ beside this
file, with its shadow mask) and laid over the patch of battle field that
lies under the robot's square on screen, built from the game's tile sheet
the same way the battle screen lays its tracks, so the picture's edges
continue the field around it without a seam.
"""
import argparse
import os
import sys

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source folder clean
ART = os.path.normpath(os.path.join(HERE, "..", ".."))
LAYERS = os.path.join(HERE, "layers")
sys.path.insert(0, HERE)

# Where the robot's square lies on the 768 x 576 battle layer.
VIEW_X, VIEW_Y, VIEW = 321, 33, 127
TRACK_COLUMNS = (6, 11, 12, 17)  # left and right rail of each track
GROUND, PEBBLES = 28, 16
RAIL_L, RAIL_R = 15, 17
SLEEPER_L, SLEEPER_MID, SLEEPER_R = 21, 22, 23

SHADOW = np.array([0.50, 0.50, 0.58])  # ground under a shadow keeps a cool tint


def tile(sheet, n):
    x, y = (n % 6) * 32, (n // 6) * 32
    return sheet.crop((x, y, x + 32, y + 32))


def battle_field(sheet, rng=None):
    """Ground and tracks of the 768 x 576 battle layer; pebbles only with rng."""
    field = Image.new("RGB", (768, 576))
    put = lambda c, r, n: field.paste(tile(sheet, n), (c * 32, r * 32))
    for c in range(24):
        for r in range(18):
            put(c, r, GROUND)
    for left, right in (TRACK_COLUMNS[0:2], TRACK_COLUMNS[2:4]):
        for r in range(18):
            put(left, r, RAIL_L)
            put(right, r, RAIL_R)
            for c in range(left + 1, right):
                put(c, r, GROUND)
                if rng is not None and rng.random() < 0.6:
                    put(c, r, PEBBLES)
        for r in range(2, 18, 3):
            put(left, r, SLEEPER_L)
            put(right, r, SLEEPER_R)
            for c in range(left + 1, right):
                put(c, r, SLEEPER_MID)
    return field


def view_crop(field):
    return field.crop((VIEW_X, VIEW_Y, VIEW_X + VIEW, VIEW_Y + VIEW))


def compose(ground, robot, shadow, light=None):
    g = np.asarray(ground, dtype=np.float64) / 255.0
    s = (np.asarray(shadow, dtype=np.float64) / 255.0)[..., None]
    g = g * (1 - s) + g * SHADOW * s
    if light is not None:  # a glowing robot lights the ground around it
        g = np.clip(g + np.asarray(light, dtype=np.float64) / 255.0 * g * 1.6, 0, 1)
    r = np.asarray(robot, dtype=np.float64) / 255.0
    a = r[..., 3:4]
    out = g * (1 - a) + r[..., :3] * a
    return Image.fromarray((out * 255).round().astype(np.uint8), "RGB")


def edge_pixels_changed(ground, pic, band=2):
    """The picture's border must be bare field, or a seam shows on screen."""
    d = np.any(np.asarray(ground) != np.asarray(pic), axis=2)
    d[band:-band, band:-band] = False
    return int(d.sum())


def layer_paths(n):
    return (os.path.join(LAYERS, "robot-%d.png" % n),
            os.path.join(LAYERS, "robot-%d-shadow.png" % n),
            os.path.join(LAYERS, "robot-%d-light.png" % n))


def paint_layers():
    import robots
    os.makedirs(LAYERS, exist_ok=True)
    for n, painter in enumerate(robots.PAINTERS):
        body, shadow, light = (tuple(painter()) + (None,))[:3]
        p, ps, pl = layer_paths(n)
        body.save(p)
        shadow.save(ps)
        if light is not None:
            light.save(pl)
        elif os.path.exists(pl):
            os.remove(pl)


def build_robots(sheet_path, preview_dir=None):
    sheet = Image.open(sheet_path).convert("RGB")
    if sheet.size != (192, 192):
        sys.exit("tile sheet must be 192 x 192: %s" % sheet_path)
    ground = view_crop(battle_field(sheet))
    pictures = []
    for n in range(5):
        p, ps, pl = layer_paths(n)
        light = Image.open(pl).convert("RGB") if os.path.exists(pl) else None
        pic = compose(ground, Image.open(p).convert("RGBA"), Image.open(ps).convert("L"), light)
        touched = edge_pixels_changed(ground, pic)
        if touched:
            print("robo-%d: %d pixels of the 2-pixel border differ from the field" % (n, touched),
                  file=sys.stderr)
        pic.save(os.path.join(ART, "robo-%d.png" % n))
        pictures.append(pic)
    if preview_dir:
        preview(sheet, pictures, preview_dir)


def preview(sheet, pictures, out_dir):
    """Each robot pasted into a pebbled field, as the battle screen shows it."""
    import random
    os.makedirs(out_dir, exist_ok=True)
    rng = random.Random(7)
    strip = []
    for pic in pictures:
        field = battle_field(sheet, rng)
        field.paste(pic, (VIEW_X, VIEW_Y))
        strip.append(field.crop((VIEW_X - 96, 0, VIEW_X + VIEW + 96, 224)))
    w, h = strip[0].size
    sheet_img = Image.new("RGB", (w * len(strip) + 4 * (len(strip) - 1), h), (0, 0, 0))
    for k, s in enumerate(strip):
        sheet_img.paste(s, (k * (w + 4), 0))
    sheet_img.save(os.path.join(out_dir, "robots-1x.png"))
    sheet_img.resize((sheet_img.width * 2, sheet_img.height * 2), Image.NEAREST).save(
        os.path.join(out_dir, "robots-2x.png"))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--sheet", default=os.path.join(ART, "tiles-game.png"))
    ap.add_argument("--preview", help="folder for preview pictures")
    ap.add_argument("--only", choices=["robots", "title"], help="build one group only")
    args = ap.parse_args()
    if args.only != "robots":
        import title
        title.make_kanban().save(os.path.join(ART, "kanban.png"))
        title.make_rogo().save(os.path.join(ART, "rogo.png"))
    if args.only != "title":
        paint_layers()
        if not os.path.exists(args.sheet):
            sys.exit("no tile sheet at %s: robot pictures not built" % args.sheet)
        build_robots(args.sheet, args.preview)


if __name__ == "__main__":
    main()
