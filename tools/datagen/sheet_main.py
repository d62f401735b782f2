"""bitmap/main.bmp: everything of a round.

Layout (left, top, right, bottom):
  girl, 9 poses          (32p, 0, 32p+32, 40)
  bowls, 5 fill levels   (32l, 40, 32l+32, 80)
  oni: walk, walk, hit   (32f, 80, 32f+32, 120)
  end / miss cut-ins     (160, 40, 272, 104) / (160, 104, 272, 168)
  clock digits           (16d, 176, 16d+16, 192), urgent row at 192
  clock separator        (160, 176, 168, 192), urgent row at 192
  clock label            (168, 176, 208, 192), urgent row at 192
  stock icon             (208, 176, 216, 192)
  bean, sparks           (216 + 8t, 176, 224 + 8t, 184)
  empty-stock label      (248, 176, 304, 192)
  throw flashes          (208 + 16f, 192, 224 + 16f, 208)
  deck tile              (0, 208, 64, 240)
  scenery strips         (64 + 32s, 208, 96 + 32s, 240)

Words (left, top, right, bottom), in the sheet:
  cut-in title, sub line (163, 50 + 64c, 269, 72 + 64c), (163, 78 + 64c,
                         269, 90 + 64c); c = 0 end, 1 miss
  clock label word       (181, 176, 208, 192), urgent row at 192
  empty-stock lines      (249, 177, 303, 184), (249, 184, 303, 191)
"""
import art
from art import new, paste, text, text_center, text_width, tr
import characters as ch
import hud
import scenery


def cutin(won):
    """112 x 64 picture that drops in when a round ends."""
    img = new(112, 64)
    if won:
        face, rim = "orange", "yellow"
        title, sub = "そこまで！", "ごはんを まもった！"
    else:
        face, rim = "navy", "sky"
        title, sub = "たべられた…", "ごはんが なくなった"
    body = hud.panel(112, 56, face=face, rim=rim)
    d = art.draw(body)
    # diagonal speed lines across the panel
    for x in range(-56, 112, 9):
        d.line([(x, 53), (x + 50, 3)], fill=art.c("gold2" if won else "night"))
    body2 = hud.panel(112, 56, face=face, rim=rim)
    mask = new(112, 56)
    art.draw(mask).rounded_rectangle([2, 2, 109, 53], radius=2,
                                     fill=(255, 255, 255, 255))
    body2.paste(body, (0, 0), mask)
    paste(img, body2, 0, 4)
    text_center(img, 56, 12, tr(title), "white", k=2, edge="ink",
                shadow="red2" if won else "purple")
    text_center(img, 56, 40, tr(sub), "yellow" if won else "cream",
                edge="ink")
    return img


def word_rects():
    rects = []
    for c, what in enumerate(("end", "miss")):
        y = 40 + 64 * c
        rects.append(("%s cut-in, title" % what, (163, y + 10, 269, y + 32)))
        rects.append(("%s cut-in, sub line" % what, (163, y + 38, 269, y + 50)))
    for row, style in ((176, "calm"), (192, "urgent")):
        rects.append(("clock label, %s" % style, (181, row, 208, row + 16)))
    rects.append(("empty stock, top line", (249, 177, 303, 184)))
    rects.append(("empty stock, key line", (249, 184, 303, 191)))
    return rects


def build():
    sheet = new(320, 240)
    for p in range(9):
        paste(sheet, ch.player(p), 32 * p, 0)
    for lv in range(5):
        paste(sheet, ch.bowl(lv), 32 * lv, 40)
    for f in range(3):
        paste(sheet, ch.raider(f), 32 * f, 80)
    paste(sheet, cutin(True), 160, 40)
    paste(sheet, cutin(False), 160, 104)
    for row, style in ((176, "calm"), (192, "urgent")):
        for dg in range(10):
            paste(sheet, hud.digit(dg, style), 16 * dg, row)
        paste(sheet, hud.separator(style), 160, row)
        paste(sheet, hud.timer_label(style), 168, row)
    paste(sheet, ch.bean(8, 16, upright=True), 208, 176)
    paste(sheet, ch.bean(), 216, 176)
    for t in range(3):
        paste(sheet, ch.spark(t), 224 + 8 * t, 176)
    paste(sheet, hud.empty_label(), 248, 176)
    for f in range(3):
        paste(sheet, ch.flash(f), 208 + 16 * f, 192)
    paste(sheet, scenery.deck_tile(), 0, 208)
    strips = [scenery.sky_strip(), scenery.shore_strip(),
              scenery.near_strip(), scenery.deep_strip()]
    for s, strip in enumerate(strips):
        paste(sheet, strip, 64 + 32 * s, 208)
    return sheet
