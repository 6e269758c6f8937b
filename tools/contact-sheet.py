#!/usr/bin/python3
"""Writes art/contact-sheet.png: every picture in art/ at 2x, grouped by
file name, plus the two tile sheets put together the way the programs use
them (a battle field with sprites, and a piece of the manual's menu).

    /usr/bin/python3 tools/contact-sheet.py
"""
import random
import re
from pathlib import Path

import numpy as np
from PIL import Image, ImageDraw, ImageFont

ROOT = Path(__file__).resolve().parents[1]
ART = ROOT / "art"
OUT = ART / "contact-sheet.png"

SPRITE_BG = (255, 248, 255)
W = 1720
PAD = 24
BACK = (44, 40, 48)
INK = (236, 228, 212)
DIM = (168, 160, 150)


def font(size, jp=False):
    names = (["fonts-japanese-gothic.ttf", "ipag.ttf"] if jp else []) + \
        ["DejaVuSans.ttf", "DejaVuSans-Bold.ttf"]
    for base in ("/usr/share/fonts/truetype", "/usr/share/fonts/opentype"):
        for n in names:
            for p in Path(base).rglob(n):
                return ImageFont.truetype(str(p), size)
    return ImageFont.load_default()


class Layer:
    """A 768x576 drawing surface with the kit's tile operations."""

    def __init__(self, sheet):
        self.a = np.zeros((576, 768, 3), np.uint8)
        self.sheet = sheet

    def blit(self, sx, sy, w, h, dx, dy, op="copy", src=None):
        src = self.sheet if src is None else src
        # clip to the layer, as a block copy does
        x0, y0 = max(dx, 0), max(dy, 0)
        x1, y1 = min(dx + w, 768), min(dy + h, 576)
        if x0 >= x1 or y0 >= y1:
            return
        s = src[sy + y0 - dy:sy + y1 - dy, sx + x0 - dx:sx + x1 - dx]
        d = self.a[y0:y1, x0:x1]
        if op == "copy":
            d[:] = s
        elif op == "or":
            d[:] = d | s
        elif op == "and":
            d[:] = d & s

    def chip(self, x, y, n):
        self.blit((n % 6) * 32, (n // 6) * 32, 32, 32, x * 32, y * 32)

    def chip_half(self, x, y, n):
        self.blit((n % 12) * 16, (n // 12) * 16, 16, 16, x * 16, y * 16)

    def dodai(self, base):
        for i in range(24):
            for j in range(18):
                self.chip(i, j, base)

    def waku(self, x, y, xx, yy):
        for i in range(x + 1, xx):
            self.chip_half(i, y, 5)
            self.chip_half(i, yy, 5)
        for i in range(y + 1, yy):
            self.chip_half(x, i, 4)
            self.chip_half(xx, i, 4)
        self.chip_half(x, y, 2)
        self.chip_half(xx, y, 3)
        self.chip_half(x, yy, 14)
        self.chip_half(xx, yy, 15)

    def sprite(self, x, y, sheet_x, sheet_y):
        # mask ORed, then picture ANDed: the scenery shows around the sprite
        self.blit(sheet_x, 160, 32, 32, x, y, "or")
        self.blit(sheet_x, sheet_y, 32, 32, x, y, "and")

    def image(self):
        return Image.fromarray(self.a, "RGB")


def battle_field(sheet, seed=7):
    rng = random.Random(seed)
    L = Layer(sheet)
    L.dodai(28)
    for (n, kx, bx, ky, by, t) in [(9, 3, 1, 16, 1, 3), (9, 4, 20, 14, 2, 3),
                                   (6, 5, 1, 16, 1, 4), (6, 5, 19, 14, 2, 4)]:
        for _ in range(n):
            x = int(rng.random() * kx) + bx
            y = int(rng.random() * ky) + by
            for m in (-1, 0, 1):
                L.chip(x + m, y, t)
                L.chip(x, y + m, t)
    for i in range(18):
        for (left, right) in ((6, 11), (12, 17)):
            L.chip(left, i, 15)
            L.chip(right, i, 17)
            for j in range(left + 1, right):
                L.chip(j, i, 28)
                if rng.random() * 10 < 6:
                    L.chip(j, i, 16)
    for i in range(2, 18, 3):
        L.chip(6, i, 21)
        L.chip(11, i, 23)
        L.chip(12, i, 21)
        L.chip(17, i, 23)
        for j in list(range(7, 11)) + list(range(13, 17)):
            L.chip(j, i, 22)
    L.waku(0, 0, 47, 35)
    img = L.image()
    d = ImageDraw.Draw(img)
    cursor = (90, 30, 40)
    for (x0, y0, x1, y1) in [(32, 32, 160, 224), (608, 32, 736, 224),
                             (32, 240, 160, 304), (608, 240, 736, 304)]:
        for i in range(y0, y1 + 1, 2):
            d.line([(x0, i), (x1, i)], fill=cursor)
        for i in range(x0, x1 + 1, 2):
            d.line([(i, y0), (i, y1)], fill=cursor)
        for k in range(6):
            d.rectangle([x0 + k, y0 + k, x1 - k, y1 - k], outline=(50 * k,) * 3)
    L.a = np.array(img)
    # the party: (position, moving 0/1/2, frame) for each of the seven
    party = [(0, 0, 1), (1, 0, -1), (2, 0, 1), (2, 1, 1), (3, 2, -1), (4, 0, 1), (2, 0, -1)]
    col_x = (0, 64, 128)
    row_y = (64, 32, 96, 128, 128, 128)
    for c, (pos, moving, frame) in enumerate(party):
        x = 224 + 48 * c
        y = 170 + 55 * pos + (-22 if moving == 1 else 26 if moving == 2 else 0)
        sx = col_x[moving] + (0 if frame == 1 else 32)
        sy = row_y[pos] if moving == 0 else 32
        L.sprite(x, y, sx, sy)
    img = L.image()
    d = ImageDraw.Draw(img)
    sel = 3
    cx, cy = 224 + 48 * sel + 15, 170 + 55 * 2 - 22 + 16
    d.ellipse([cx - 16, cy - 16, cx + 16, cy + 16], outline=cursor)
    return img


def sprite_strip(sheet):
    """Every sprite state in both frames, ANDed over the ground and over a
    sleeper, to check the masks against both backgrounds."""
    states = [(0, 64), (0, 32), (0, 96), (0, 128), (64, 32), (128, 32)]
    L = Layer(sheet)
    L.dodai(28)
    for i in range(24):
        L.chip(i, 1, 22)
    L.a = L.a[:96, :]
    x = 8
    for (sx, sy) in states:
        for f in (0, 32):
            for row in (0, 32):
                sub = L.a[row + 8:row + 40, x:x + 32]
                sub[:] = sub | sheet[160:192, sx + f:sx + f + 32]
                sub[:] = sub & sheet[sy:sy + 32, sx + f:sx + f + 32]
            x += 40
        x += 16
    return Image.fromarray(L.a[:, :x], "RGB")


def manual_menu(sheet, portrait=None):
    L = Layer(sheet)
    L.dodai(0)
    L.waku(0, 0, 47, 35)
    for i in range(1, 8):
        for j in range(1, 17):
            L.chip(i, j, 3)
    L.waku(2, 2, 16, 33)
    # a card: white inside, its frame drawn over the white box's edges
    x1, y1, x2, y2 = 20, 4, 34, 19
    L.a[16 * y1 + 10:16 * y2 + 11, 16 * x1 + 10:16 * x2 + 11] = 255
    L.waku(x1, y1, x2, y2)
    img = L.image()
    if portrait is not None:
        pw, ph = portrait.size
        room = (16 * (x2 - x1) - 16, 16 * (y2 - y1) - 16)
        if pw <= room[0] and ph <= room[1]:
            img.paste(portrait, (16 * x1 + 16 + (room[0] - pw) // 2,
                                 16 * y1 + 16 + (room[1] - ph) // 2))
    d = ImageDraw.Draw(img)
    text = (90, 50, 30)
    f = font(15, jp=True)
    d.text((77, 60), "◇ 取り扱い説明書 ◇", fill=text, font=f)
    d.line([(55, 80), (251, 80)], fill=text, width=2)
    labels = ["はじめに", "基本事項", "ゲーム画面", "Tobbleステータス", "機械ロボステータス",
              "キャラの顔", "キャラのポジション", "機械ロボをやっつけろ！", "レベルアップ",
              "戦闘不能", "休憩と特殊", "Tobble十ヶ条", "人物紹介①", "人物紹介②",
              "人物紹介③", "プロローグ", "？？？？？"]
    for i, s in enumerate(labels, 1):
        d.text((60, 75 + 25 * i), "●" + s, fill=text, font=f)
    d.ellipse([62, 82 + 25 * 3 - 4, 70, 82 + 25 * 3 + 4], fill=(255, 255, 255))
    for k, line in enumerate(["ゲームの始めかた", "tobble7.exe　ファイルを実行してください。",
                              "", "●操作方法", "左右　…　キャラクター選択", "上下　…　前進・後退"]):
        d.text((300, 360 + 30 * k), line, fill=text, font=f)
    return img


def group_of(name):
    m = re.match(r"[A-Za-z]+", name)
    return m.group(0) if m else name


def main():
    files = sorted(p for p in ART.glob("*.png") if p.name != OUT.name)
    f_title, f_head, f_lab = font(26), font(18), font(13)
    blocks = []   # (heading, [(label, image)])

    game = ART / "tiles-game.png"
    man = ART / "tiles-manual.png"
    if game.exists():
        sheet = np.array(Image.open(game).convert("RGB"))
        field = battle_field(sheet)
        blocks.append(("tiles-game.png as the game draws it", [
            ("battle field, 1x", field),
            ("field detail, 2x", field.crop((176, 140, 592, 440)).resize((832, 600), Image.NEAREST)),
            ("every sprite state, both frames, over ground and sleeper, 2x",
             sprite_strip(sheet).resize((sprite_strip(sheet).width * 2, 192), Image.NEAREST)),
        ]))
    if man.exists():
        msheet = np.array(Image.open(man).convert("RGB"))
        jin = ART / "jin-0.png"
        portrait = Image.open(jin).convert("RGB") if jin.exists() else None
        menu = manual_menu(msheet, portrait)
        blocks.append(("tiles-manual.png as the manual draws it", [
            ("menu screen with a card, 1x", menu),
            ("menu detail, 2x", menu.crop((0, 0, 400, 300)).resize((800, 600), Image.NEAREST)),
        ]))

    groups = {}
    for p in files:
        groups.setdefault(group_of(p.stem), []).append(p)
    for g, ps in groups.items():
        items = []
        for p in ps:
            im = Image.open(p).convert("RGB")
            items.append((f"{p.name}  {im.width}x{im.height}",
                          im.resize((im.width * 2, im.height * 2), Image.NEAREST)))
        blocks.append((g, items))

    # flow layout
    placed, x, y = [], PAD, PAD + 44
    for heading, items in blocks:
        if x != PAD:
            x, y = PAD, y + row_h + 16
        placed.append(("head", heading, (PAD, y)))
        y += 30
        x, row_h = PAD, 0
        for label, im in items:
            w, h = im.width, im.height + 20
            if x + w > W - PAD and x != PAD:
                x, y = PAD, y + row_h + 12
                row_h = 0
            placed.append(("img", (label, im), (x, y)))
            x += w + 20
            row_h = max(row_h, h)
        x, y = PAD, y + row_h + 18
    height = y + PAD
    sheet_img = Image.new("RGB", (W, height), BACK)
    d = ImageDraw.Draw(sheet_img)
    d.text((PAD, PAD), "art contact sheet", fill=INK, font=f_title)
    for kind, what, (px, py) in placed:
        if kind == "head":
            d.text((px, py), what, fill=INK, font=f_head)
            d.line([(px, py + 24), (W - PAD, py + 24)], fill=(90, 84, 92))
        else:
            label, im = what
            d.text((px, py), label, fill=DIM, font=f_lab)
            sheet_img.paste(im, (px, py + 18))
    sheet_img.save(OUT)


if __name__ == "__main__":
    main()
