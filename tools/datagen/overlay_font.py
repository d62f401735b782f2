"""The pixel fonts of the host's overlay (the options menu, the captions).

Writes font/glyphs.bmp, the glyph cells, and font/glyphs.txt, which says
which character each cell holds and how far it advances.

Cells are 8 x 8, CELLS_PER_ROW to a row, filled left to right and top to
bottom; the sheet has just the rows the cells need.  It is a 1-bit
Windows bitmap: palette index 0 black (clear), 1 white (ink).  Glyphs
stand at the cell's top-left; capitals and kana sit on rows 0..6.

glyphs.txt is UTF-8 with "\\n" line ends.  Lines starting with "#" are
comments; every other line is an advance in pixels, one space, then the
characters of that advance, in cell order.  The lines follow each other
in cell order too.

Faces: printable ASCII in the English sheets' proportional Latin face
(latin.py: each glyph trimmed to its ink, then one blank column; a space
advances 3), everything else in misaki gothic (the sheets' Japanese
face) at its full 8-pixel width: JIS X 0208 rows 1 to 5 (punctuation
and symbols, fullwidth digits and letters, hiragana, katakana) and the
level-1 kanji (rows 16 to 47), each if the face has it, and the fullwidth
tilde and hyphen-minus.
"""
import os

from PIL import Image, ImageDraw

import art
import latin

CELL = 8
CELLS_PER_ROW = 32
JAPANESE_ADVANCE = 8
SYMBOL_ROWS = range(1, 6)
KANJI_ROWS = range(16, 48)
# EUC-JP reads JIS's wave dash and minus as U+301C and U+2212; texts typed
# on today's keyboards use the fullwidth forms
EXTRA = "\uff5e\uff0d"


def _jis_row(row):
    """The characters of one row of JIS X 0208, through EUC-JP."""
    out = []
    for cell in range(1, 95):
        try:
            out.append(bytes([0xA0 + row, 0xA0 + cell]).decode("euc_jp"))
        except UnicodeDecodeError:
            pass
    return out


def _japanese_glyph(ch):
    """The misaki glyph of ch as a 1-bit cell, or None when the face lacks it
    (its missing-glyph box is narrower than a full cell)."""
    if art.font().getlength(ch) != JAPANESE_ADVANCE:
        return None
    img = Image.new("1", (CELL, CELL), 0)
    d = ImageDraw.Draw(img)
    d.fontmode = "1"
    d.text((0, 0), ch, font=art.font(), fill=1)
    return img


def _latin_glyph(ch):
    img = Image.new("1", (CELL, CELL), 0)
    if ch == " ":
        return img
    mask = latin._load()[ch]
    assert mask.width < CELL and mask.height == CELL, ch
    img.paste(1, (0, 0), mask.point(lambda v: 255 if v else 0))
    return img


def glyph_groups():
    """[(advance, [(character, 1-bit cell image)])] in cell order."""
    by_advance = {}
    for code in range(0x20, 0x7F):
        ch = chr(code)
        g = _latin_glyph(ch)
        advance = latin.SPACE if ch == " " else g.getbbox()[2] + 1
        by_advance.setdefault(advance, []).append((ch, g))
    groups = sorted(by_advance.items())

    seen = set()
    japanese = []
    for row in list(SYMBOL_ROWS) + list(KANJI_ROWS):
        for ch in _jis_row(row) + (list(EXTRA) if row == 1 else []):
            if ch in seen:
                continue
            g = _japanese_glyph(ch)
            if g is not None and g.getbbox():
                seen.add(ch)
                japanese.append((ch, g))
    groups.append((JAPANESE_ADVANCE, japanese))
    return groups


def write(folder):
    groups = glyph_groups()
    cells = [g for _, glyphs in groups for _, g in glyphs]
    rows = (len(cells) + CELLS_PER_ROW - 1) // CELLS_PER_ROW
    sheet = Image.new("1", (CELLS_PER_ROW * CELL, rows * CELL), 0)
    for i, g in enumerate(cells):
        sheet.paste(g, ((i % CELLS_PER_ROW) * CELL, (i // CELLS_PER_ROW) * CELL))

    lines = ["# The overlay font's characters, in the cells' order of glyphs.bmp.",
             "# Written by tools/datagen/overlay_font.py.",
             "# Each line: the advance in pixels, a space, the characters."]
    for advance, glyphs in groups:
        line = "%d %s" % (advance, "".join(ch for ch, _ in glyphs))
        assert not line.endswith(" "), "a space must not end its line"
        lines.append(line)

    os.makedirs(folder, exist_ok=True)
    sheet.save(os.path.join(folder, "glyphs.bmp"), "BMP")
    with open(os.path.join(folder, "glyphs.txt"), "w", encoding="utf-8",
              newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    print("font/glyphs.bmp  %d cells" % len(cells))
    print("font/glyphs.txt")
