"""The three whole-screen pictures: how to play, game over, staff.

Each is shown whole.  Words (left, top, right, bottom):
  setumei   title (40, 7, 280, 30); story line i (8, 33 + 11i, 312,
            44 + 11i); table cells (18 | 148 | 230 | 304) by rows 135..146
            and 149 + 13i .. 162 + 13i; notes (8, 211, 312, 221),
            (8, 221, 248, 231); back key (248, 221, 312, 231)
  gameover  title (40, 32, 280, 64); line (8, 82, 312, 94);
            back key (60, 216, 260, 228)
  staff     heading (12, 9, 308, 31); line (8, 33, 312, 44); staff title
            (100, 51, 220, 73); credit i (84, 79 + 20i, 240, 98 + 20i);
            thanks (104, 183, 240, 193); back key (114, 216, 240, 228)
  The credits keep clear of the pictures on both sides.
"""
import art
from art import c, new, draw, paste, text, text_center, scale, flip, tr
import characters as ch
import hud

STORY = [
    ("おなかを すかせた 鬼が ごはんを ねらってくる！", "white"),
    ("豆を なげて おいかえし、4つの ごはんを まもろう。", "white"),
    ("時間が 0に なるまで ごはんが のこれば かち、", "cream"),
    ("ぜんぶ たべられたら まけ。", "cream"),
]
TABLE_TOP = 132
COLUMNS = (18, 148, 230, 304)    # action | keyboard | gamepad cells
CONTROLS = [
    ("レーンを かえる", "↑ ↓", "スティック上下"),
    ("豆を なげる（おしつづける）", "Enter", "ボタン1"),
    ("豆を ほじゅう", "Shift", "ボタン2"),
    ("ゲームを やめる", "Esc", ""),
]
ROLES = [
    ("ゲームデザイン・プログラム", "クザリ せいさく いいんかい"),
    ("グラフィック", "クザリ せいさく いいんかい"),
    ("サウンド・おんがく", "クザリ せいさく いいんかい"),
    ("こえ", "eSpeak NG にほんご"),
    ("フォント", "美咲フォント"),
]


def word_rects():
    """Sheet name -> [(what, (left, top, right, bottom))]."""
    a, k, g, end = COLUMNS
    head = TABLE_TOP + 3
    expl = [("title", (40, 7, 280, 30))]
    for i in range(len(STORY)):
        expl.append(("story line %d" % i, (8, 33 + 11 * i, 312, 44 + 11 * i)))
    expl += [("table head, action", (a, head, k, head + 11)),
             ("table head, keyboard", (k, head, g, head + 11)),
             ("table head, gamepad", (g, head, end, head + 11))]
    for i, (_, _, pad) in enumerate(CONTROLS):
        y = TABLE_TOP + 17 + 13 * i
        expl.append(("control %d, action" % i, (a, y, k, y + 13)))
        expl.append(("control %d, key" % i, (k, y, g, y + 13)))
        if pad:
            expl.append(("control %d, gamepad" % i, (g, y, end, y + 13)))
    expl += [("note 0", (8, 211, 312, 221)), ("note 1", (8, 221, 248, 231)),
             ("back key", (248, 221, 312, 231))]
    over = [("title", (40, 32, 280, 64)), ("line", (8, 82, 312, 94)),
            ("back key", (60, 216, 260, 228))]
    staff_ = [("heading", (12, 9, 308, 31)), ("line", (8, 33, 312, 44)),
              ("staff title", (100, 51, 220, 73))]
    for i in range(len(ROLES)):
        staff_.append(("credit %d" % i, (84, 79 + 20 * i, 240, 98 + 20 * i)))
    staff_ += [("thanks", (104, 183, 240, 193)),
               ("back key", (114, 216, 240, 228))]
    return {"setumei": expl, "gameover": over, "staff": staff_}


def _backdrop(top, bottom):
    img = new(320, 240)
    art.gradient_bands(img, (0, 0, 320, 240), [top, bottom])
    return img


def _frame(img, col="gold"):
    d = draw(img)
    d.rectangle([3, 3, 316, 236], outline=c(col))
    d.rectangle([5, 5, 314, 234], outline=c("gold2"))


def explanation():
    img = _backdrop("night", "navy")
    _frame(img)
    text_center(img, 160, 10, tr("あそびかた"), "yellow", k=2, edge="ink",
                shadow="red2")
    for i, (s, col) in enumerate(STORY):
        text(img, 16, 34 + 11 * i, tr(s), col, edge="ink")
    # a little picture of the field: girl, bean, oni, bowl
    strip = new(288, 44)
    d = draw(strip)
    d.rounded_rectangle([0, 0, 287, 43], radius=3, fill=c("ink"))
    d.rounded_rectangle([1, 1, 286, 42], radius=3, fill=c("plank"))
    for y in (15, 29):
        d.line([(2, y), (285, y)], fill=c("wood"))
    paste(strip, ch.player(1), 14, 2)
    paste(strip, ch.bowl(1), 44, 2)
    paste(strip, ch.flash(0), 42, 12)
    for x in (90, 120, 150):
        paste(strip, ch.bean(), x, 18)
    paste(strip, ch.spark(0), 186, 16)
    paste(strip, ch.raider(2), 190, 2)
    paste(strip, ch.raider(0), 240, 2)
    paste(img, strip, 16, 80)
    # controls table
    d = draw(img)
    top = TABLE_TOP
    d.rounded_rectangle([12, top, 307, top + 74], radius=3, fill=c("ink"),
                        outline=c("blue"))
    text(img, 20, top + 5, tr("そうさ"), "yellow")
    text(img, 150, top + 5, tr("キーボード"), "sky2")
    text(img, 232, top + 5, tr("ジョイパッド"), "sky2")
    d.line([(18, top + 15), (301, top + 15)], fill=c("blue"))
    for i, (what, key, pad) in enumerate(CONTROLS):
        y = top + 20 + 13 * i
        text(img, 20, y, tr(what), "white")
        _key(img, 150, y - 2, key)
        if pad:
            text(img, 232, y, tr(pad), "cream")
    notes = [
        "豆は 38こ。なくなったら Shiftで ほじゅう しよう。",
        "のこり時間が へると 鬼は しぶとく、はやくなる！",
    ]
    for i, s in enumerate(notes):
        text(img, 16, 212 + 10 * i, tr(s), "yellow" if i else "cream",
             edge="ink")
    text(img, 252, 222, tr("Enter:もどる"), "sky2", edge="ink")
    return img


def _key(img, x, y, label):
    """A key cap, as wide as the Japanese label needs, the label centred."""
    w = art.ja_width(label) + 8
    d = draw(img)
    d.rounded_rectangle([x, y, x + w, y + 11], radius=2, fill=c("grey2"))
    d.rounded_rectangle([x, y, x + w, y + 9], radius=2, fill=c("cloud"))
    word = tr(label)
    text(img, x + (w - art.text_width(word)) // 2, y + 1, word, "ink")


def game_over():
    img = _backdrop("night", "purple")
    d = draw(img)
    # the deck in the dark, empty bowls, oni with full bellies
    d.rectangle([0, 168, 319, 239], fill=c("wood3"))
    for y in range(170, 240, 14):
        d.line([(0, y), (319, y)], fill=c("ink2"))
    text_center(img, 160, 36, tr("ゲームオーバー"), "red", k=3, edge="cream",
                shadow="ink", fill2="red2")
    text_center(img, 160, 84, tr("ごはんを ぜんぶ たべられてしまった…"),
                "cream", edge="ink")
    paste(img, scale(ch.raider(0), 2), 28, 104)
    paste(img, scale(ch.raider(1), 2), 228, 106)
    paste(img, scale(ch.player(4), 2), 128, 100)
    paste(img, scale(ch.bowl(4), 2), 74, 132)
    paste(img, scale(ch.bowl(4), 2), 184, 134)
    text_center(img, 160, 218, tr("Enterで タイトルへ"), "sky2", edge="ink")
    return img


def staff():
    img = _backdrop("navy", "purple")
    _frame(img)
    text_center(img, 160, 12, tr("かんぺき！ おめでとう！"), "yellow", k=2,
                edge="ink", shadow="red2")
    text_center(img, 160, 34, tr("ごはんは ひとつぶも たべられなかった。"),
                "cream", edge="ink")
    text_center(img, 160, 54, tr("スタッフ"), "white", k=2, edge="ink",
                shadow="blue")
    for i, (role, who) in enumerate(ROLES):
        y = 80 + 20 * i
        text_center(img, 160, y, tr(role), "sky2", edge="ink")
        text_center(img, 160, y + 9, tr(who), "white", edge="ink")
    paste(img, scale(ch.player(6), 2), 16, 150)
    paste(img, scale(flip(ch.raider(2)), 2), 242, 146)
    paste(img, scale(ch.bowl(0), 2), 50, 166)
    text_center(img, 160, 184, tr("あそんでくれて ありがとう！"), "yellow",
                edge="ink")
    text_center(img, 160, 218, tr("Enterで タイトルへ"), "sky2", edge="ink")
    return img
