"""Checks of the built pictures: sizes, and the two places where a picture
must blend into what lies around it on screen.

Run:  python3 art/src/robots/test_pictures.py
"""
import os
import sys
import unittest

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source folder clean
sys.path.insert(0, HERE)
import make  # noqa: E402

ART = make.ART


def load(name):
    return Image.open(os.path.join(ART, name))


class PictureTest(unittest.TestCase):
    def test_sizes_and_modes(self):
        cases = [("robo-%d.png" % n, (127, 127)) for n in range(5)]
        cases += [("kanban.png", (320, 96)), ("rogo.png", (64, 64))]
        for name, size in cases:
            with self.subTest(name):
                im = load(name)
                self.assertEqual(im.size, size)
                self.assertEqual(im.mode, "RGB")

    def test_robot_edges_continue_the_field(self):
        # The square is drawn over the bare tracks, so its rim must be exactly
        # the field the tile sheet lays there; a robot, shadow or glow
        # reaching the rim would show as a seam.
        sheet = Image.open(os.path.join(ART, "tiles-game.png")).convert("RGB")
        field = np.asarray(make.view_crop(make.battle_field(sheet)))
        for n in range(5):
            with self.subTest(robot=n):
                pic = np.asarray(load("robo-%d.png" % n))
                same = np.all(pic == field, axis=2)
                for rim in (same[:2], same[-2:], same[:, :2], same[:, -2:]):
                    self.assertTrue(rim.all())
                self.assertLess(same.mean(), 0.9, "robot missing from its picture")

    def test_field_follows_track_layout(self):
        # Sleeper row 2 of the screen (y 64..95) crosses the square at rows
        # 31..62; the rails of columns 11 and 12 run through every row.
        sheet = Image.new("RGB", (192, 192))
        for n, colour in ((28, (1, 0, 0)), (17, (2, 0, 0)), (15, (3, 0, 0)), (23, (4, 0, 0)),
                          (21, (5, 0, 0)), (22, (6, 0, 0))):
            sheet.paste(colour, ((n % 6) * 32, (n // 6) * 32, (n % 6) * 32 + 32, (n // 6) * 32 + 32))
        crop = np.asarray(make.view_crop(make.battle_field(sheet)))[..., 0]
        expect = {(0, 0): 1, (0, 31): 2, (0, 63): 3, (0, 126): 1,
                  (31, 0): 6, (31, 31): 4, (31, 63): 5, (62, 126): 6, (63, 40): 2, (126, 94): 3}
        for (y, x), tile_mark in expect.items():
            with self.subTest(y=y, x=x):
                self.assertEqual(crop[y, x], tile_mark)

    def test_title_letters_dark_and_inside_the_groove(self):
        # The hand-drawn word must stay inside the routed groove (4 px inside
        # the frame) and read as dark on the light board at 1x.
        import title
        from PIL import Image as I
        m4 = title.lettering_mask(320, 96)
        m = np.asarray(I.fromarray((m4 * 255).astype(np.uint8)).resize((320, 96), I.BOX)) > 0
        ys, xs = np.nonzero(m)
        self.assertGreaterEqual(min(xs.min(), ys.min()), 15)
        self.assertLessEqual(xs.max(), 320 - 16)
        self.assertLessEqual(ys.max(), 96 - 16)
        self.assertGreater(xs.max() - xs.min(), 200, "the word should span the board")
        lum = np.asarray(load("kanban.png").convert("L"), dtype=np.float64)
        board = lum[15:81, 15:305][~m[15:81, 15:305]]
        full = m4.reshape(96, 4, 320, 4).min(axis=(1, 3)) > 0.99
        self.assertLess(lum[full].mean(), 0.4 * board.mean())

    def test_portraits_leave_their_card_frames_whole(self):
        # The character pages copy each portrait over its framed card; a
        # portrait reaching the frame must carry the frame's own pixels there.
        sheet = Image.open(os.path.join(ART, "tiles-manual.png")).convert("RGB")
        chip = lambda n: sheet.crop(((n % 12) * 16, (n // 12) * 16, (n % 12) * 16 + 16, (n // 12) * 16 + 16))
        pages = [  # (card frames in 16-px cells, portraits: (picture, corner))
            ([(19, 2, 31, 17), (19, 24, 28, 33), (35, 18, 45, 33)],
             [(3, (325, 60)), (5, (326, 413)), (0, (580, 320))]),
            ([(34, 2, 45, 21), (19, 18, 30, 33)], [(4, (580, 60)), (6, (356, 350))]),
            ([(19, 2, 30, 21), (34, 15, 45, 33)], [(1, (340, 75)), (2, (570, 276))]),
        ]
        for cards, portraits in pages:
            page = Image.new("RGB", (768, 576), (255, 255, 255))
            frame = np.zeros((576, 768), bool)
            for x1, y1, x2, y2 in cards:
                for cx in range(x1, x2 + 1):
                    for cy in range(y1, y2 + 1):
                        n = {(x1, y1): 2, (x2, y1): 3, (x1, y2): 14, (x2, y2): 15}.get(
                            (cx, cy), 5 if cy in (y1, y2) else 4 if cx in (x1, x2) else None)
                        if n is not None:
                            page.paste(chip(n), (cx * 16, cy * 16))
                            frame[cy * 16:cy * 16 + 16, cx * 16:cx * 16 + 16] = True
            before = np.asarray(page).copy()
            for k, corner in portraits:
                page.paste(load("jin-%d.png" % k).convert("RGB"), corner)
            changed = np.any(np.asarray(page) != before, axis=2) & frame
            with self.subTest(portraits=[k for k, _ in portraits]):
                self.assertEqual(int(changed.sum()), 0)

    def test_logo_ground_is_black(self):
        # The logo appears on the black title screen: every pixel of its rim
        # must be pure black, or its square would show.
        logo = np.asarray(load("rogo.png"))
        rim = np.concatenate([logo[0], logo[-1], logo[:, 0], logo[:, -1]])
        self.assertEqual(int(rim.max()), 0)


if __name__ == "__main__":
    unittest.main()
