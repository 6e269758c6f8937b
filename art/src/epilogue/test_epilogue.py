#!/usr/bin/env python3
"""Checks the eight ending sketches as the manual will use them.

Run: /usr/bin/python3 art/src/epilogue/test_epilogue.py
"""
import os
import sys
import unittest

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source folder free of caches
sys.path.insert(0, HERE)

from pencil import PALETTE, W, H, quantise  # noqa: E402

ART = os.path.normpath(os.path.join(HERE, "..", ".."))


class Palette(unittest.TestCase):
    def test_quantise_uses_only_the_ramp_and_keeps_tone_order(self):
        ramp = np.tile(np.linspace(-0.2, 1.2, 64, dtype=np.float32), (16, 1))
        im = np.asarray(quantise(ramp), np.int32)
        pal = {tuple(c) for c in PALETTE}
        self.assertLessEqual({tuple(p) for p in im.reshape(-1, 3)}, pal)
        # a darker input never comes out lighter, column by column on average
        lum = im.sum(axis=2).mean(axis=0)
        self.assertTrue(np.all(np.diff(lum) <= 0), lum)
        self.assertEqual(tuple(im[0, 0]), PALETTE[0])      # below paper: cream
        self.assertEqual(tuple(im[0, -1]), PALETTE[-1])    # past black: darkest brown

    def test_palette_is_sixteen_sepia_steps_from_cream_to_brown(self):
        self.assertEqual(len(set(PALETTE)), 16)
        lum = [sum(c) for c in PALETTE]
        self.assertEqual(lum, sorted(lum, reverse=True))
        for r, g, b in PALETTE:
            self.assertTrue(r >= g >= b, (r, g, b))          # warm, never grey or blue


class Pictures(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.images = [Image.open(os.path.join(ART, "epi-%d.png" % k)) for k in range(8)]

    def test_each_picture_fits_its_slot(self):
        pal = {tuple(c) for c in PALETTE}
        for k, im in enumerate(self.images):
            with self.subTest(picture=k):
                self.assertEqual(im.size, (192, 305))
                self.assertEqual(im.mode, "RGB")
                colours = {c for _, c in im.getcolors(W * H)}
                self.assertLessEqual(colours, pal)
                a = np.asarray(im, np.int32).sum(axis=2)
                # a drawing, not an empty sheet: real dark lines and open paper
                self.assertGreater((a < sum(PALETTE[10])).mean(), 0.02)
                self.assertGreater((a >= sum(PALETTE[3])).mean(), 0.2)

    def test_no_two_pictures_are_the_same_scene(self):
        lum = [np.asarray(im, np.int32).sum(axis=2) for im in self.images]
        for i in range(8):
            for j in range(i + 1, 8):
                self.assertGreater(np.abs(lum[i] - lum[j]).mean(), 10, (i, j))


if __name__ == "__main__":
    unittest.main()
