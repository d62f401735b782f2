"""Palette and pixel-art helpers shared by every sheet.

Pictures are PIL RGBA images while they are being drawn (alpha 0 = not
drawn).  A finished sheet is flattened onto pure black, which the game
treats as transparent, and written as a 24-bit Windows bitmap.
"""
import os

from PIL import Image, ImageDraw, ImageFont

import latin

# ---------------------------------------------------------------- palette
# One palette for the whole game.  Nothing meant to show may be so dark
# that it truncates to RGB565 zero, so the darkest ink is a deep purple.
PAL = {
    "ink": (36, 22, 48),        # outlines
    "ink2": (62, 40, 78),       # soft outlines, deep shade
    "night": (28, 28, 60),      # dark backgrounds
    "navy": (44, 52, 104),
    "blue": (60, 96, 180),
    "sky": (104, 168, 232),
    "sky2": (150, 204, 244),
    "cloud": (236, 244, 252),
    "cloud2": (196, 216, 240),
    "sea": (40, 112, 176),
    "sea2": (64, 148, 204),
    "foam": (208, 236, 248),
    "teal": (48, 152, 152),
    "green": (72, 160, 72),
    "green2": (40, 112, 64),
    "leaf": (132, 200, 88),
    "wood": (176, 112, 64),
    "wood2": (140, 84, 52),
    "wood3": (104, 60, 44),
    "plank": (204, 144, 88),
    "skin": (252, 212, 176),
    "skin2": (232, 164, 136),
    "hair": (92, 52, 44),
    "hair2": (132, 76, 56),
    "red": (220, 56, 64),
    "red2": (160, 32, 56),
    "pink": (252, 144, 168),
    "orange": (244, 144, 48),
    "yellow": (252, 216, 72),
    "cream": (252, 244, 212),
    "white": (252, 252, 252),
    "grey": (148, 148, 168),
    "grey2": (96, 96, 120),
    "oni": (96, 156, 232),      # the raiders' skin
    "oni2": (60, 104, 184),
    "horn": (248, 228, 160),
    "tiger": (252, 196, 48),
    "bean": (228, 176, 92),
    "bean2": (176, 120, 56),
    "purple": (120, 72, 160),
    "gold": (252, 200, 40),
    "gold2": (200, 128, 24),
}


def c(name, alpha=255):
    """RGBA tuple of a palette colour."""
    r, g, b = PAL[name]
    return (r, g, b, alpha)


# ---------------------------------------------------------------- images
def new(w, h, fill=None):
    return Image.new("RGBA", (w, h), fill if fill else (0, 0, 0, 0))


def draw(img):
    return ImageDraw.Draw(img)


def paste(dst, src, x, y):
    """Draw src over dst at (x, y), honouring src's alpha."""
    sx, sy = max(0, -x), max(0, -y)
    ex = min(src.width, dst.width - x)
    ey = min(src.height, dst.height - y)
    if ex <= sx or ey <= sy:
        return
    part = src.crop((sx, sy, ex, ey))
    dst.alpha_composite(part, (x + sx, y + sy))


def outline(img, col="ink", diagonal=False):
    """Add a one-pixel outline around every drawn pixel."""
    src = img.copy()
    w, h = img.size
    sp, dp = src.load(), img.load()
    ink = c(col)
    nb = [(1, 0), (-1, 0), (0, 1), (0, -1)]
    if diagonal:
        nb += [(1, 1), (1, -1), (-1, 1), (-1, -1)]
    for y in range(h):
        for x in range(w):
            if sp[x, y][3]:
                continue
            for dx, dy in nb:
                xx, yy = x + dx, y + dy
                if 0 <= xx < w and 0 <= yy < h and sp[xx, yy][3]:
                    dp[x, y] = ink
                    break
    return img


def flip(img):
    return img.transpose(Image.FLIP_LEFT_RIGHT)


def scale(img, k):
    return img.resize((img.width * k, img.height * k), Image.NEAREST)


def recolor(img, mapping):
    """Swap palette colours: mapping from name to name."""
    out = img.copy()
    px = out.load()
    table = {PAL[a]: PAL[b] for a, b in mapping.items()}
    for y in range(out.height):
        for x in range(out.width):
            p = px[x, y]
            if p[3] and p[:3] in table:
                px[x, y] = table[p[:3]] + (p[3],)
    return out


BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def dither_rect(img, box, top, bottom, period=None):
    """Vertical two-colour gradient from top to bottom with ordered dither."""
    x0, y0, x1, y1 = box
    px = img.load()
    h = y1 - y0
    for y in range(y0, y1):
        t = (y - y0) / max(1, h - 1)
        for x in range(x0, x1):
            use_bottom = t * 16 > BAYER4[y % 4][x % 4] + 0.5
            px[x, y] = c(bottom if use_bottom else top)


def gradient_bands(img, box, names):
    """Vertical gradient through several colours, dithered between bands."""
    x0, y0, x1, y1 = box
    n = len(names) - 1
    h = y1 - y0
    for i in range(n):
        a = y0 + h * i // n
        b = y0 + h * (i + 1) // n
        dither_rect(img, (x0, a, x1, b), names[i], names[i + 1])


# ---------------------------------------------------------------- language
# The sheets are drawn in one language at a time: "ja" (the Japanese font
# and words as written in the modules) or "en" (the Latin face and the
# words of english.py).
LANG = "ja"


def set_language(lang):
    global LANG
    assert lang in ("ja", "en"), lang
    LANG = lang


def tr(s):
    """The Japanese word s in the language being drawn."""
    if LANG == "ja":
        return s
    import english
    return english.WORDS[s]


# ---------------------------------------------------------------- text
FONT_DIR = "/usr/share/fonts/truetype/misaki"
FONT_FILE = os.path.join(FONT_DIR, "misaki_gothic_2nd.ttf")
_font = None


def font():
    global _font
    if _font is None:
        _font = ImageFont.truetype(FONT_FILE, 8)
    return _font


def text_width(s, k=1, track=0):
    if LANG != "ja":
        return latin.width(s, k, track)
    return int(font().getlength(s)) * k + track * max(0, len(s) - 1)


def ja_width(s):
    """Width of s in the Japanese font, whatever the language drawn: the
    panels sized to a word keep the Japanese size in every edition."""
    return int(font().getlength(s))


def text_image(s, col, k=1, track=0):
    """The string in the 8-pixel font, scaled k times, on a clear image.
    track: extra pixels between characters (negative to tighten)."""
    if LANG != "ja":
        return latin.image(s, c(col), k, track)
    if track:
        img = new(max(1, text_width(s, k, track)), 8 * k)
        x = 0
        for ch in s:
            g = text_image(ch, col, k)
            paste(img, g, x, 0)
            x += g.width + track
        return img
    w = max(1, int(font().getlength(s)))
    img = new(w, 8)
    d = draw(img)
    d.fontmode = "1"
    d.text((0, 0), s, font=font(), fill=c(col))
    return scale(img, k) if k > 1 else img


def text(dst, x, y, s, col="white", k=1, edge=None, shadow=None,
         fill2=None, track=0, thick=1, rim=None):
    """Write s at (x, y).  edge: outline colour (thick pixels wide);
    shadow: drop shadow colour; fill2: lower half colour for a two-tone
    fill; track: extra spacing between characters; rim: a light outer
    outline around the edge, for dark backgrounds.  Returns the width."""
    img = text_image(s, col, k, track)
    if fill2:
        px = img.load()
        for yy in range(img.height // 2 + k // 2, img.height):
            for xx in range(img.width):
                if px[xx, yy][3]:
                    px[xx, yy] = c(fill2)
    pad = 3 + thick + k
    big = new(img.width + 2 * pad, img.height + 2 * pad)
    paste(big, img, pad, pad)
    if shadow:
        sh = text_image(s, shadow, k, track)
        base = new(big.width, big.height)
        paste(base, sh, pad + max(1, k // 2), pad + max(1, k // 2))
        paste(base, big, 0, 0)
        big = base
    if edge:
        for _ in range(thick):
            outline(big, edge, diagonal=True)
    if rim:
        outline(big, rim, diagonal=False)
    paste(dst, big, x - pad, y - pad)
    return img.width


def text_center(dst, cx, y, s, col="white", k=1, **kw):
    w = text_width(s, k, kw.get("track", 0))
    text(dst, cx - w // 2, y, s, col, k, **kw)


# ---------------------------------------------------------------- output
def flatten(img):
    """RGBA sheet onto pure black; no shown pixel may truncate to 565 zero."""
    out = Image.new("RGB", img.size, (0, 0, 0))
    out.paste(img, (0, 0), img)
    px = out.load()
    for y in range(out.height):
        for x in range(out.width):
            r, g, b = px[x, y]
            if (r, g, b) != (0, 0, 0) and r < 8 and g < 4 and b < 8:
                px[x, y] = (8, 4, 8)
    return out


def save_sheet(img, bmp_path, png_path):
    """Write the 320 x 240 sheet as a BMP and a twice-enlarged PNG."""
    assert img.size == (320, 240), img.size
    flat = flatten(img)
    os.makedirs(os.path.dirname(bmp_path), exist_ok=True)
    os.makedirs(os.path.dirname(png_path), exist_ok=True)
    flat.save(bmp_path, "BMP")
    scale(flat, 2).save(png_path, "PNG", optimize=False)
    return flat
