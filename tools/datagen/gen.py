#!/usr/bin/python3
"""Regenerate every data file of the game.

Usage: /usr/bin/python3 tools/datagen/gen.py [--only pictures|sounds|voices|music|font]

Writes data/bitmap, data/wave, data/voice, data/midi, data/font and docs/sheets
(the sheets enlarged twice); the English sheets to data/lang/en/bitmap
and docs/sheets/en, and their word rectangles to
tests/reference/word_rects.txt.  The output is the same, byte for byte,
on every run.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, HERE)

DATA = os.path.join(ROOT, "data")
SHEETS = os.path.join(ROOT, "docs", "sheets")
WORD_RECTS = os.path.join(ROOT, "tests", "reference", "word_rects.txt")
# where each language's sheets go: (bitmaps under data/, enlarged pictures)
OUTPUT = {"ja": ("bitmap", SHEETS),
          "en": (os.path.join("lang", "en", "bitmap"),
                 os.path.join(SHEETS, "en"))}


def sheet_builders():
    """Sheet name -> function drawing it, in the language set in art."""
    import sheet_main
    import sheet_title
    import sheet_end
    import screens
    return {
        "main": sheet_main.build,
        "title": sheet_title.build,
        "end": sheet_end.build,
        "setumei": screens.explanation,
        "gameover": screens.game_over,
        "staff": screens.staff,
    }


def word_rects():
    """[(sheet name, what, (x0, y0, x1, y1))], x1 and y1 exclusive."""
    import sheet_main
    import sheet_title
    import sheet_end
    import screens
    out = []
    for name, mod in (("title", sheet_title), ("main", sheet_main),
                      ("end", sheet_end)):
        out += [(name, what, r) for what, r in mod.word_rects()]
    for name, rects in screens.word_rects().items():
        out += [(name, what, r) for what, r in rects]
    for name, what, (x0, y0, x1, y1) in out:
        assert 0 <= x0 < x1 <= 320 and 0 <= y0 < y1 <= 240, (name, what)
    return out


def write_word_rects(path):
    lines = [
        "# Word rectangles of the sheets: name x0 y0 x1 y1 (x1, y1 exclusive).",
        "# Written by tools/datagen/gen.py from the sheet modules' layouts.",
        "# Each holds a word in data/bitmap/NAME.bmp and its English in",
        "# data/lang/en/bitmap/NAME.bmp; outside them the two are identical.",
    ]
    for name, what, (x0, y0, x1, y1) in word_rects():
        lines.append("# %s" % what)
        lines.append("%s %d %d %d %d" % (name, x0, y0, x1, y1))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


def pictures():
    import art
    for lang, (bitmaps, enlarged) in OUTPUT.items():
        art.set_language(lang)
        for name, build in sheet_builders().items():
            bmp = os.path.join(bitmaps, name + ".bmp")
            art.save_sheet(build(), os.path.join(DATA, bmp),
                           os.path.join(enlarged, name + ".png"))
            print(bmp)
    art.set_language("ja")
    write_word_rects(WORD_RECTS)
    print(os.path.relpath(WORD_RECTS, ROOT))


def sounds():
    import sounds as s
    s.write_all(os.path.join(DATA, "wave"))


def voices():
    import voices as v
    v.write_all(os.path.join(DATA, "voice"))


def music():
    import music as m
    m.write_all(os.path.join(DATA, "midi"))


def font():
    import overlay_font
    overlay_font.write(os.path.join(DATA, "font"))


PARTS = {"pictures": pictures, "sounds": sounds, "voices": voices,
         "music": music, "font": font}


def main(argv):
    only = None
    if len(argv) > 2 and argv[1] == "--only":
        only = argv[2]
    for name, fn in PARTS.items():
        if only is None or only == name:
            fn()


if __name__ == "__main__":
    main(sys.argv)
