#!/usr/bin/python3
"""Regenerate every data file of the game.

Usage: /usr/bin/python3 tools/datagen/gen.py [--only pictures|sounds|voices|music]

Writes data/bitmap, data/wave, data/voice, data/midi and docs/sheets
(the sheets enlarged twice).  The output is the same, byte for byte, on
every run.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)

DATA = os.path.join(ROOT, "data")
SHEETS = os.path.join(ROOT, "docs", "sheets")


def pictures():
    import art
    import sheet_main
    import sheet_title
    import sheet_end
    import screens
    made = {
        "main": sheet_main.build(),
        "title": sheet_title.build(),
        "end": sheet_end.build(),
        "setumei": screens.explanation(),
        "gameover": screens.game_over(),
        "staff": screens.staff(),
    }
    for name, img in made.items():
        art.save_sheet(img, os.path.join(DATA, "bitmap", name + ".bmp"),
                       os.path.join(SHEETS, name + ".png"))
        print("bitmap/%s.bmp" % name)


def sounds():
    import sounds as s
    s.write_all(os.path.join(DATA, "wave"))


def voices():
    import voices as v
    v.write_all(os.path.join(DATA, "voice"))


def music():
    import music as m
    m.write_all(os.path.join(DATA, "midi"))


PARTS = {"pictures": pictures, "sounds": sounds, "voices": voices,
         "music": music}


def main(argv):
    only = None
    if len(argv) > 2 and argv[1] == "--only":
        only = argv[2]
    for name, fn in PARTS.items():
        if only is None or only == name:
            fn()


if __name__ == "__main__":
    main(sys.argv)
