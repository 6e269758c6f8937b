#!/usr/bin/env python3
"""Draws the eight sepia pencil sketches of the manual's ending story.

Run from anywhere: writes art/epi-0.png .. art/epi-7.png (192 x 305, RGB,
one shared 16-colour sepia palette).
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source folder free of caches
sys.path.insert(0, HERE)

from pencil import W, H, Sketch  # noqa: E402
import scenes  # noqa: E402

OUT_DIR = os.path.normpath(os.path.join(HERE, "..", ".."))


def main(which=None):
    for k, draw in enumerate(scenes.ALL):
        if which is not None and k not in which:
            continue
        s = Sketch(seed=700 + k)
        draw(s)
        im = s.render()
        assert im.size == (W, H)
        path = os.path.join(OUT_DIR, "epi-%d.png" % k)
        im.save(path, optimize=True)
        print("wrote", os.path.relpath(path, os.getcwd()), len(im.getcolors()), "colours")


if __name__ == "__main__":
    picks = [int(a) for a in sys.argv[1:]] or None
    main(picks)
