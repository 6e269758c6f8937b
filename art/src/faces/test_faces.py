#!/usr/bin/env python3
"""Checks the face pictures the game loads: /usr/bin/python3 art/src/faces/test_faces.py"""
import os
import sys
import unittest

import numpy as np
from PIL import Image

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make  # noqa: E402

LABEL_BAND = (slice(66, 89), slice(6, 86))   # where "Sleeping..." / "Danger！" are printed


def load(n):
    return Image.open(os.path.join(make.ART, 'face-%02d.png' % n))


def lum(im):
    return np.asarray(im.convert('L'), float)


class FaceSet(unittest.TestCase):
    def test_committed_pictures_match_the_generator(self):
        # The game reads 22 pictures of exactly 90x90; a stale or hand-edited file shows up here.
        for n in range(22):
            with self.subTest(face=n):
                im = load(n)
                self.assertEqual((im.size, im.mode), ((90, 90), 'RGB'))
                self.assertTrue(np.array_equal(np.asarray(im), np.asarray(make.render(n))),
                                'face-%02d.png is out of date: rerun make.py' % n)

    def test_label_band_is_calm_mid_tone(self):
        # The white and the black pass of the start-up labels must both show,
        # so the band may be neither near-white nor near-black, nor busy.
        for c in range(7):
            for n in (3 * c + 1, 3 * c + 2):
                with self.subTest(face=n):
                    band = lum(load(n))[LABEL_BAND]
                    self.assertTrue(80 <= band.mean() <= 200, band.mean())
                    self.assertLess(band.std(), 70)

    def test_states_of_one_character_share_a_body_but_not_a_face(self):
        for c in range(7):
            normal, sleep, pain = (np.asarray(load(3 * c + s), float) for s in range(3))
            with self.subTest(character=c):
                # same clothes under the labels, so the three faces read as one person
                self.assertLess(np.abs(normal[LABEL_BAND] - pain[LABEL_BAND]).mean(), 3)
                # yet the expression (eyes and mouth) changes
                eyes = (slice(36, 62), slice(28, 62))
                self.assertGreater(np.abs(normal[eyes] - sleep[eyes]).mean(), 4)
                self.assertGreater(np.abs(normal[eyes] - pain[eyes]).mean(), 4)

    def test_characters_are_told_apart_by_their_backdrop(self):
        corner = (slice(0, 8), slice(0, 8))
        tones = [np.asarray(load(3 * c), float)[corner].reshape(-1, 3).mean(0) for c in range(7)]
        for a in range(7):
            for b in range(a + 1, 7):
                with self.subTest(pair=(a, b)):
                    self.assertGreater(np.abs(tones[a] - tones[b]).sum(), 40)


if __name__ == '__main__':
    unittest.main()
