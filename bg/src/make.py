"""Writes the four music pieces into the folder above this one: bg0 (title), bg1 (battle),
bg2 (manual menu) and bg3 (epilogue). Run from anywhere: python3 make.py"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import battle  # noqa: E402
import epilogue  # noqa: E402
import menu  # noqa: E402
import title  # noqa: E402

PIECES = [("bg0.mid", title), ("bg1.mid", battle), ("bg2.mid", menu), ("bg3.mid", epilogue)]


def main():
    out_dir = os.path.dirname(HERE)
    for name, module in PIECES:
        piece = module.build()
        path = os.path.join(out_dir, name)
        piece.write(path)
        print("%s  %5.1f s  %d bytes" % (name, piece.seconds(piece.end), os.path.getsize(path)))


if __name__ == "__main__":
    main()
