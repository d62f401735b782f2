"""Seamless scenery tiles: the boat deck, the sky, the far shore and the
river, plus the title screen's pattern tiles.

Every tile is drawn as a function of x modulo its width, so it repeats
without a seam.
"""
import math

from art import c, new, draw, BAYER4


def _put(px, x, y, name):
    px[x, y] = c(name)


def _dith(x, y, t):
    """True where a dither of density t (0..1) sets a pixel."""
    return t * 16 > BAYER4[y % 4][x % 4] + 0.5


def sky_strip():
    """32 x 32, top of the screen: deep sky with drifting cloud puffs."""
    img = new(32, 32)
    px = img.load()
    for y in range(32):
        for x in range(32):
            t = y / 31
            _put(px, x, y, "sky" if _dith(x, y, t) else "blue")
    d = draw(img)
    # a cloud puff that wraps round the tile edge
    for ox in (-32, 0):
        d.ellipse([ox + 6, 17, ox + 22, 27], fill=c("cloud2"))
        d.ellipse([ox + 12, 12, ox + 30, 26], fill=c("cloud"))
        d.ellipse([ox + 24, 18, ox + 38, 28], fill=c("cloud"))
        d.line([(ox + 8, 27), (ox + 36, 27)], fill=c("cloud2"))
        d.ellipse([ox + 2, 4, ox + 8, 7], fill=c("sky2"))
    return img


def shore_strip():
    """32 x 32 below the sky: hills and pines on the far bank, the river,
    and the deck's far rail at the bottom."""
    img = new(32, 32)
    px = img.load()
    for y in range(32):
        for x in range(32):
            _put(px, x, y, "sky2" if _dith(x, y, 0.3 + y / 40) else "sky")
    for x in range(32):
        # rolling hills, period 32
        h = 10 + 3 * math.sin(2 * math.pi * x / 32) + \
            1.5 * math.sin(4 * math.pi * x / 32 + 1)
        for y in range(int(h), 24):
            _put(px, x, y, "teal" if y < h + 2 else "green2")
        # water between the bank and the rail
        for y in range(20, 26):
            shine = (x * 3 + y * 7) % 11 == 0
            _put(px, x, y, "foam" if shine else ("sea2" if y < 22 else "sea"))
    d = draw(img)
    # two pines
    for tx, th in ((6, 9), (20, 7)):
        d.polygon([(tx, 19 - th), (tx - 3, 19), (tx + 3, 19)], fill=c("green2"))
        d.line([(tx, 19 - th), (tx, 19)], fill=c("ink2"))
    # far rail of the deck: plain horizontally, so it sits still as it scrolls
    for y in range(26, 32):
        col = ["ink2", "wood", "plank", "wood", "wood2", "ink2"][y - 26]
        for x in range(32):
            _put(px, x, y, col)
    return img


def near_strip():
    """32 x 32 at y 192: the deck's near edge and the river beneath."""
    img = new(32, 32)
    px = img.load()
    edge = ["ink2", "plank", "wood", "wood", "wood2", "wood3", "ink2"]
    for y in range(32):
        for x in range(32):
            if y < len(edge):
                _put(px, x, y, edge[y])
            else:
                _put(px, x, y, "sea" if _dith(x, y, (y - 7) / 40) else "sea2")
    d = draw(img)
    # wave crests wrapping round the tile
    for ox in (-32, 0, 32):
        d.arc([ox + 2, 13, ox + 18, 23], 200, 340, fill=c("foam"))
        d.arc([ox + 18, 22, ox + 34, 31], 200, 340, fill=c("sky2"))
    for x in range(32):  # splashes along the hull
        if x % 8 in (1, 2, 5):
            _put(px, x, 7, "foam")
        if x % 8 == 2:
            _put(px, x, 8, "foam")
    return img


def deep_strip():
    """32 x 32 at the bottom edge (only its top half shows): deep water."""
    img = new(32, 32)
    px = img.load()
    for y in range(32):
        for x in range(32):
            _put(px, x, y, "navy" if _dith(x, y, y / 24) else "sea")
    d = draw(img)
    for ox in (-32, 0, 32):
        d.arc([ox + 8, 3, ox + 24, 11], 200, 340, fill=c("sea2"))
        d.arc([ox - 6, 10, ox + 10, 16], 200, 340, fill=c("sky"))
    return img


def deck_tile():
    """64 x 32 floor tile: two deck planks with staggered joints.

    Rows of tiles are laid 16 pixels apart to the right, so the joints
    climb diagonally, the same way the lanes run."""
    img = new(64, 32)
    px = img.load()
    for y in range(32):
        yy = y % 16
        for x in range(64):
            if yy == 0:
                col = "wood3"
            elif yy == 1:
                col = "plank"
            elif yy == 15:
                col = "wood2"
            else:
                grain = math.sin(2 * math.pi * (x / 64 * 2 + yy / 5.0 +
                                                (y // 16) * 0.37))
                col = "wood" if grain > 0.75 else "plank"
                if yy > 11 and _dith(x, y, (yy - 11) / 5):
                    col = "wood"
            _put(px, x, y, col)
    # joints: top plank at x 0, bottom plank at x 32
    for (jx, y0) in ((0, 0), (32, 16)):
        for y in range(y0 + 1, y0 + 16):
            _put(px, jx, y, "wood3")
            _put(px, (jx + 1) % 64, y, "plank")
        # nails
        for nx in (jx + 3, jx + 60):
            _put(px, nx % 64, y0 + 4, "wood3")
            _put(px, nx % 64, y0 + 11, "wood3")
    # a knot in each plank
    for kx, ky in ((44, 7), (13, 23)):
        d = draw(img)
        d.ellipse([kx - 2, ky - 1, kx + 2, ky + 1], fill=c("wood2"))
        _put(px, kx, ky, "wood3")
    return img


def seigaiha_tile(w, h, face, line, back):
    """Wave-scale pattern (overlapping arcs).  Its period of 16 x 16
    divides w and h, so the tile repeats without a seam."""
    r = 8
    big = new(3 * w, 3 * h, c(back))
    d = draw(big)
    for row in range(-1, 3 * h // r + 2):
        for col in range(-1, 3 * w // (2 * r) + 2):
            cx = col * 2 * r + (r if row % 2 else 0)
            cy = row * r
            for k, colr in ((r, line), (r - 1, face), (r - 3, line),
                            (r - 4, face), (r - 6, line), (r - 7, face)):
                d.ellipse([cx - k, cy - k, cx + k - 1, cy + k - 1],
                          fill=c(colr))
    return big.crop((w, h, 2 * w, 2 * h))
