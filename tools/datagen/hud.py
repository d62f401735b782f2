"""Clock digits, labels and panels of the play screen's head-up display."""
from PIL import Image

from art import c, new, draw, outline, paste, text, text_image, text_width, tr

# 5 x 7 digit shapes of our own
DIGITS = [
    ".###.#...##..###.#.###..##...#.###.",
    "..#...##....#....#....#....#...###.",
    ".###.#...#....#..##..#....#....#####",
    "#####...#...#....##.....##...#.###.",
    "...#...##..#.#.#..#.#####...#....#.",
    "######....####.....#....##...#.###.",
    "..##..#...#....####.#...##...#.###.",
    "#####....#...#...#...#....#....#...",
    ".###.#...##...#.###.#...##...#.###.",
    ".###.#...##...#.####....#...#..##..",
]

STYLES = {
    # fill, lower fill, outline, shadow
    "calm": ("cream", "yellow", "ink", "navy"),
    "urgent": ("red", "red2", "yellow", "ink"),
}


def _glyph_rows(d):
    s = DIGITS[d].ljust(35, ".")[:35]
    return [s[i * 5:(i + 1) * 5] for i in range(7)]


def digit(d, style):
    """16 x 16 clock digit."""
    fill, fill2, edge, shadow = STYLES[style]
    img = new(16, 16)
    body = new(16, 16)
    px = body.load()
    rows = _glyph_rows(d)
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch == "#":
                col = c(fill) if y < 4 else c(fill2)
                for yy in (0, 1):
                    for xx in (0, 1):
                        px[3 + 2 * x + xx, 1 + 2 * y + yy] = col
    sh = Image.new("RGBA", body.size, (0, 0, 0, 0))
    sh.paste(c(shadow), (0, 0), body)
    paste(img, sh, 1, 1)
    paste(img, body, 0, 0)
    outline(img, edge)
    return img


def separator(style):
    fill, fill2, edge, shadow = STYLES[style]
    img = new(8, 16)
    d = draw(img)
    for y in (4, 10):
        d.rectangle([3, y, 4, y + 1], fill=c(fill))
        d.point((5, y + 2), fill=c(shadow))
        d.point((4, y + 2), fill=c(shadow))
        d.point((5, y + 1), fill=c(shadow))
    outline(img, edge)
    return img


def clock_icon(style):
    fill, fill2, edge, shadow = STYLES[style]
    img = new(13, 14)
    d = draw(img)
    d.ellipse([1, 2, 11, 12], fill=c("white" if style == "calm" else "yellow"))
    d.rectangle([5, 0, 7, 1], fill=c(fill2))
    d.line([(6, 7), (6, 4)], fill=c("ink"))
    d.line([(6, 7), (8, 7)], fill=c("ink"))
    d.point((6, 7), fill=c("red"))
    outline(img, edge)
    return img


def timer_label(style):
    """40 x 16: a clock and the word for time left, drawn tall."""
    fill, fill2, edge, shadow = STYLES[style]
    img = new(40, 16)
    paste(img, clock_icon(style), 0, 1)
    word = text_image(tr("のこり"), fill)
    word = word.resize((word.width, 16), Image.NEAREST)
    px = word.load()
    for y in range(8, 16):
        for x in range(word.width):
            if px[x, y][3]:
                px[x, y] = c(fill2)
    body = new(40, 16)
    # centred in the 24 columns the Japanese word fills
    paste(body, word, 14 + (24 - word.width) // 2, 0)
    outline(body, edge)
    paste(img, body, 0, 0)
    return img


def panel(w, h, face="night", rim="cream", edge="ink"):
    """Rounded panel with a light rim."""
    img = new(w, h)
    d = draw(img)
    d.rounded_rectangle([0, 0, w - 1, h - 1], radius=3, fill=c(edge))
    d.rounded_rectangle([1, 1, w - 2, h - 2], radius=2, fill=c(rim))
    d.rounded_rectangle([2, 2, w - 3, h - 3], radius=2, fill=c(face))
    return img


def empty_label():
    """56 x 16: shown when the beans have run out, with the refill key."""
    img = new(56, 16)
    d = draw(img)
    d.rounded_rectangle([0, 0, 55, 15], radius=2, fill=c("ink"))
    d.rounded_rectangle([1, 1, 54, 14], radius=1, fill=c("red2"))
    d.rectangle([1, 8, 54, 14], fill=c("night"))
    top = tr("たまぎれ！")
    text(img, (56 - text_width(top)) // 2, 1, top, "yellow")
    sub = tr("Shiftで補充")
    text(img, (56 - text_width(sub)) // 2, 8, sub, "white")
    return img
