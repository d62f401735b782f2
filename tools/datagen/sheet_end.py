"""bitmap/end.bmp: the result of a won round.

Layout (left, top, right, bottom):
  end picture     (0, 0, 320, 176)   shown at (0, 32)
  result banner   (0, 192, 128, 224) comes to rest at (48, 96) on screen,
                                     that is (48, 64) over the picture
  rank r = 0..3   (128 + 40r, 176, 168 + 40r, 240), worst to best,
                  shown at (192, 68): (192, 36) over the picture

Words (left, top, right, bottom), in the sheet:
  greeting        (40, 4, 280, 30)
  banner          (4, 196, 124, 218)
  rank word       (130 + 40r, 226, 166 + 40r, 236), the card's face
"""
import art
from art import c, new, draw, paste, text_center, scale, flip, tr
import characters as ch
import hud

RANK_WORDS = ["ざんねん", "まあまあ", "じょうず", "かんぺき"]
RANK_BOWL = [4, 3, 1, 0]          # bowl picture by rank
RANK_FACE = ["grey2", "blue", "teal", "red"]


def end_picture():
    img = new(320, 176)
    # evening sky over the river
    art.gradient_bands(img, (0, 0, 320, 112),
                       ["purple", "pink", "orange", "yellow"])
    d = draw(img)
    d.ellipse([228, 84, 276, 132], fill=c("cream"))  # setting sun
    for y in range(112, 132):
        for x in range(320):
            img.putpixel((x, y), c("sea2" if (x * 7 + y * 3) % 13 else "foam")
                         if y < 118 else c("sea"))
    # far bank
    for x in range(320):
        h = 106 + int(3 * art_sin(x / 40.0))
        for y in range(h, 113):
            img.putpixel((x, y), c("purple"))
    # the deck
    for y in range(132, 176):
        for x in range(320):
            yy = (y - 132) % 14
            col = "wood3" if yy == 0 else ("plank" if yy < 10 else "wood")
            img.putpixel((x, y), c(col))
    # the girl cheering, big, on the left
    paste(img, scale(ch.player(6), 2), 8, 92)
    # a full bowl beside her
    paste(img, scale(ch.bowl(0), 2), 72, 100)
    # an oni swept off to the right
    paste(img, scale(flip(ch.raider(2)), 2), 252, 92)
    # greeting along the top
    text_center(img, 160, 8, tr("おつかれさま！"), "white", k=2, edge="ink",
                shadow="purple", thick=1)
    return img


def art_sin(v):
    import math
    return math.sin(v)


def banner():
    img = hud.panel(128, 32, face="red", rim="yellow")
    d = draw(img)
    d.line([(3, 27), (124, 27)], fill=c("red2"))
    text_center(img, 64, 8, tr("のこったごはん"), "white", k=2, edge="ink",
                track=-1 if art.LANG == "ja" else 0)
    return img


def rank(r):
    img = hud.panel(40, 64, face=RANK_FACE[r], rim="cream")
    # stars: r of three lit
    d = draw(img)
    for i in range(3):
        x = 8 + 12 * i
        lit = i < r
        pts = []
        import math
        for k in range(10):
            a = -math.pi / 2 + k * math.pi / 5
            rr = 5 if k % 2 == 0 else 2
            pts.append((x + rr * math.cos(a), 9 + rr * math.sin(a)))
        d.polygon(pts, fill=c("yellow" if lit else "ink2"),
                  outline=c("ink"))
    b = ch.bowl(RANK_BOWL[r]).crop((0, 8, 32, 40))
    paste(img, b, 4, 16)
    text_center(img, 20, 51, tr(RANK_WORDS[r]), "white", edge="ink")
    return img


def word_rects():
    rects = [("greeting", (40, 4, 280, 30)), ("banner", (4, 196, 124, 218))]
    for r in range(4):
        x = 128 + 40 * r
        rects.append(("rank %d" % r, (x + 2, 226, x + 38, 236)))
    return rects


def build():
    sheet = new(320, 240)
    paste(sheet, end_picture(), 0, 0)
    paste(sheet, banner(), 0, 192)
    for r in range(4):
        paste(sheet, rank(r), 128 + 40 * r, 176)
    return sheet
