"""bitmap/title.bmp: the title screen.

Layout (left, top, right, bottom):
  wave strip tile       (0, 0, 64, 32)    across the top and bottom
  cursor, two frames    (64, 0, 96, 32), (96, 0, 128, 32)
  caption               (128, 0, 288, 32) drawn at (16, 176)
  background tile       (288, 0, 320, 32)
  logo                  (0, 32, 320, 96)  bounces between rows 20 and 50
  menu labels           (0, 96, 64, 192)  start / explanation / quit rows

Words (left, top, right, bottom), in the sheet:
  caption lines         (128, 2, 288, 16), (128, 16, 288, 30)
  logo name             (88, 32, 252, 80)  clear of the girl, beans and oni
  logo tag line         the ribbon's face, rows 80..88
  menu labels           (0, 96 + 32i, 64, 128 + 32i)
"""
import art
from art import c, new, draw, paste, text, text_center, outline, tr
import characters as ch
import scenery

MENU = ["スタート", "せつめい", "おわり"]
TAG = "まめまき ごはん ぼうえいせん"


def _ribbon_left():
    """Left end of the tag line's ribbon, sized to the Japanese words."""
    return 160 - (art.ja_width(TAG) + 16) // 2


def word_rects():
    x0 = _ribbon_left()
    w = art.ja_width(TAG) + 16
    rects = [("caption, menu keys", (128, 2, 288, 16)),
             ("caption, motto", (128, 16, 288, 30)),
             ("logo, name", (88, 32, 252, 80)),
             ("logo, tag line", (x0 + 2, 80, x0 + w - 1, 88))]
    for i in range(len(MENU)):
        rects.append(("menu label %d" % i, (0, 96 + 32 * i, 64, 128 + 32 * i)))
    return rects


def strip_tile():
    img = scenery.seigaiha_tile(64, 32, "navy", "blue", "navy")
    d = draw(img)
    for y, col in ((0, "ink"), (1, "gold"), (2, "gold2"),
                   (29, "gold2"), (30, "gold"), (31, "ink")):
        d.line([(0, y), (63, y)], fill=c(col))
    return img


def background_tile():
    """32 x 32 quiet tile: dark indigo with a scattering of beans."""
    img = new(32, 32, c("night"))
    px = img.load()
    for y in range(32):
        for x in range(32):
            if (x + y) % 16 == 0 or (x - y) % 16 == 0:
                px[x, y] = c("navy")
    d = draw(img)
    for bx, by in ((7, 7), (23, 23)):
        d.ellipse([bx - 2, by - 1, bx + 1, by + 1], fill=c("ink2"))
        d.point((bx - 1, by - 1), fill=c("purple"))
    return img


def cursor(frame):
    """32 x 32 pointing hand aimed at the label on its right."""
    img = new(32, 32)
    d = draw(img)
    ox = 6 + 3 * frame
    # sleeve
    d.rectangle([ox - 2, 12, ox + 5, 20], fill=c("blue"))
    d.line([(ox + 3, 12), (ox + 3, 20)], fill=c("white"))
    # fist with a pointing finger
    d.rounded_rectangle([ox + 5, 11, ox + 14, 21], radius=3, fill=c("skin"))
    d.rounded_rectangle([ox + 12, 12, ox + 23, 15], radius=1, fill=c("skin"))
    d.line([(ox + 7, 17), (ox + 13, 17)], fill=c("skin2"))
    d.line([(ox + 7, 19), (ox + 12, 19)], fill=c("skin2"))
    outline(img)
    if frame == 1:
        d = draw(img)
        for (a, b) in (((ox + 26, 9), (ox + 24, 11)), ((ox + 27, 14), (ox + 25, 14)),
                       ((ox + 26, 19), (ox + 24, 17))):
            d.line([a, b], fill=c("yellow"))
    return img


def caption():
    """160 x 32 under the logo: how to use the menu."""
    img = new(160, 32)
    text_center(img, 80, 6, tr("↑↓：えらぶ　Enter：けってい"), "cream",
                edge="ink")
    text_center(img, 80, 18, tr("まめで ごはんを まもりぬけ！"), "yellow",
                edge="ink")
    return img


def logo():
    """320 x 64.  The right end of the bottom rows stays clear, as the
    logo swings down onto the menu's top edge."""
    img = new(320, 64)
    # the name, big, with a thick ink edge and a red drop shadow; the
    # English one is wider and sits between the beans and the oni
    ja = art.LANG == "ja"
    text_center(img, 160 if ja else 170, 3, tr("クザリ"), "yellow", k=5,
                edge="ink", thick=2, shadow="red", fill2="orange",
                track=4 if ja else 2, rim="cream")
    # tag line on a ribbon
    d = draw(img)
    w = art.ja_width(TAG) + 16
    x0 = _ribbon_left()
    d.rounded_rectangle([x0, 47, x0 + w, 58], radius=2, fill=c("ink"))
    d.rounded_rectangle([x0 + 1, 48, x0 + w - 1, 57], radius=2,
                        fill=c("red"))
    d.line([(x0 + 2, 56), (x0 + w - 2, 56)], fill=c("red2"))
    text_center(img, 160, 49, tr(TAG), "white")
    # the girl throwing on the left, an oni fleeing on the right
    paste(img, ch.player(1), 34, 12)
    paste(img, ch.bean(), 68, 22)
    paste(img, ch.bean(), 80, 18)
    paste(img, ch.raider(2), 252, 8)
    return img


def menu_labels():
    img = new(64, 96)
    for i, word in enumerate(MENU):
        text_center(img, 32, 32 * i + 8, tr(word), "white", k=2, edge="ink",
                    shadow="blue", fill2="sky2",
                    track=-1 if art.LANG == "ja" else 0)
    return img


def build():
    sheet = new(320, 240)
    paste(sheet, strip_tile(), 0, 0)
    paste(sheet, cursor(0), 64, 0)
    paste(sheet, cursor(1), 96, 0)
    paste(sheet, caption(), 128, 0)
    paste(sheet, background_tile(), 288, 0)
    paste(sheet, logo(), 0, 32)
    paste(sheet, menu_labels(), 0, 96)
    return sheet
