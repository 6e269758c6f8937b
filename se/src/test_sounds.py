#!/usr/bin/python3
"""Checks the shipped sound effects: format, length, level, clean edges, and that they match make.py.

    /usr/bin/python3 -B -m unittest discover -s se/src     # from the repository root
"""
import os
import subprocess
import sys
import tempfile
import unittest
import wave

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
SE_DIR = os.path.normpath(os.path.join(HERE, ".."))
NAMES = ["se%d" % k for k in range(1, 11)]


def read(path):
    with wave.open(path, "rb") as w:
        params = (w.getnchannels(), w.getsampwidth(), w.getframerate())
        x = np.frombuffer(w.readframes(w.getnframes()), "<i2").astype(float) / 32768.0
    return params, x


class ShippedSounds(unittest.TestCase):
    def test_format_length_level_and_edges(self):
        for name in NAMES:
            with self.subTest(name):
                (channels, width, rate), x = read(os.path.join(SE_DIR, name + ".wav"))
                self.assertEqual((channels, width), (1, 2))
                self.assertIn(rate, (22050, 44100))
                seconds = len(x) / rate
                self.assertLess(seconds, 2.0 if name == "se10" else 1.0)
                peak_db = 20 * np.log10(np.max(np.abs(x)))
                self.assertAlmostEqual(peak_db, -1.0, delta=0.3)
                self.assertLess(abs(np.mean(x)), 0.005)
                # starts and ends at silence, reached smoothly: no click when a sound is cut in or out
                self.assertEqual((x[0], x[-1]), (0.0, 0.0))
                self.assertLess(np.max(np.abs(x[:int(0.0002 * rate)])), 0.1)
                self.assertLess(np.max(np.abs(x[-int(0.001 * rate):])), 0.05)

    def test_hit_fits_between_clear_letters(self):
        # the clear plays sound 6 once per letter, 300 ms apart: each hit must end before the next
        (_, _, rate), x = read(os.path.join(SE_DIR, "se6.wav"))
        self.assertLess(len(x) / rate, 0.3)

    def test_hit_rings_bright_and_still_lands(self):
        # Sound 6 is both the blow of an attack and each letter of the clear: besides
        # its low thump it must carry a clear pitch up in the bright range, or sixteen
        # of them in a row sound like a beating rather than a celebration.
        sys.path.insert(0, HERE)
        import clear_mix
        f = clear_mix.figures(read(os.path.join(SE_DIR, "se6.wav"))[1])
        low, _, bright, _ = f["bands"]
        self.assertGreater(low, 0.35, "the thump of the blow is gone")
        self.assertGreater(bright, 0.2, "too little ring between 1 and 4 kHz")
        self.assertGreater(f["peak_prominence_db"], 25, "the ring is noise, not a pitch")

    def test_shipped_files_match_the_generator(self):
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run([sys.executable, os.path.join(HERE, "make.py"), tmp],
                           check=True, stdout=subprocess.DEVNULL)
            for name in NAMES:
                with self.subTest(name):
                    with open(os.path.join(tmp, name + ".wav"), "rb") as a, \
                            open(os.path.join(SE_DIR, name + ".wav"), "rb") as b:
                        self.assertTrue(a.read() == b.read(), name + ".wav is stale: run make.py")


if __name__ == "__main__":
    unittest.main()
