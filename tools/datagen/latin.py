"""The 8-pixel Latin face of the English sheets.

Schumacher Clean 5x8 from Debian's xfonts-base (clR5x8), set
proportionally: each glyph is trimmed to its ink and followed by one
blank column, which reads better than the fixed 5-pixel cells and lets
the longer English words fit the rectangles of the Japanese ones.
Capitals stand on rows 0..6 like the Japanese font's glyphs, so a line
of either sits at the same place.  The two arrow keys are our own, and
so are M, V and W: the font's are four pixels wide and, enlarged, read
as H, a goblet and N.
"""
import gzip

from PIL import Image, PcfFontFile

FONT_FILE = "/usr/share/fonts/X11/misc/clR5x8.pcf.gz"
HEIGHT = 8
SPACE = 3          # advance of a space, before the glyphs' own gap
THIN = 2           # a thin space (U+2009), for the tightest rectangles

# 5 x 7 glyphs drawn here, over the font's
OWN = {
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "V": ["#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#..", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "↑": ["..#..", ".###.", "#.#.#", "..#..", "..#..", "..#..", "..#.."],
    "↓": ["..#..", "..#..", "..#..", "..#..", "#.#.#", ".###.", "..#.."],
}

_glyphs = None


def _own(rows):
    img = Image.new("L", (len(rows[0]), HEIGHT), 0)
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == "#":
                img.putpixel((x, y), 255)
    return img


def _load():
    """Character -> L-mode mask cut to its ink columns, 8 rows tall."""
    global _glyphs
    if _glyphs is None:
        with gzip.open(FONT_FILE) as f:
            pcf = PcfFontFile.PcfFontFile(f)
            pcf.compile()
        _glyphs = {}
        for code in range(33, 127):
            g = pcf.glyph[code]
            if not g:
                continue
            _, _, src, im = g
            mask = im.crop(src).convert("L")
            box = mask.getbbox()
            if box:
                _glyphs[chr(code)] = mask.crop((box[0], 0, box[2], HEIGHT))
        for ch, rows in OWN.items():
            _glyphs[ch] = _own(rows)
    return _glyphs


def _layout(s, k, track):
    """(x, mask) of each glyph of s at scale k, and the total width."""
    glyphs = _load()
    out, x = [], 0
    for i, ch in enumerate(s):
        if ch in " \u2009":
            x += (SPACE if ch == " " else THIN) * k
            continue
        if ch not in glyphs:
            raise ValueError("no Latin glyph for %r in %r" % (ch, s))
        g = glyphs[ch]
        out.append((x, g))
        x += g.width * k
        if i < len(s) - 1:
            x += k + track
    return out, x


def width(s, k=1, track=0):
    return _layout(s, k, track)[1]


def image(s, rgba, k=1, track=0):
    """RGBA image of s in colour rgba, scaled k times, clear elsewhere."""
    placed, w = _layout(s, k, track)
    img = Image.new("RGBA", (max(1, w), HEIGHT * k), (0, 0, 0, 0))
    for x, g in placed:
        if k > 1:
            g = g.resize((g.width * k, HEIGHT * k), Image.NEAREST)
        img.paste(rgba, (x, 0), g)
    return img
