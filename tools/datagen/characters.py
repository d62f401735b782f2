"""The cast, drawn from parts: the bean-throwing girl, the hungry oni
raiders, the rice bowls and the roasted beans she throws.

Every function returns a fresh RGBA image with an ink outline, ready to
be placed on a sheet or scaled up for a larger picture.
"""
import math

from art import c, new, draw, outline

# ---------------------------------------------------------------- girl
# Poses of the girl (32 x 40, facing right, hand at about (29, 16) when
# throwing).  Each entry: body drop, legs, front arm, back arm, eyes, mouth.
PLAYER_POSES = [
    dict(dy=0, legs="stand", front="down", back="down", eyes="open", mouth="smile"),
    dict(dy=0, legs="lunge", front="throw", back="back", eyes="focus", mouth="shout"),
    dict(dy=3, legs="crouch", front="out", back="out", eyes="squint", mouth="smile"),
    dict(dy=-1, legs="tuck", front="up", back="up", eyes="open", mouth="o"),
    dict(dy=3, legs="crouch", front="down", back="out", eyes="squint", mouth="smile"),
    dict(dy=-2, legs="kick", front="up", back="back", eyes="focus", mouth="smile"),
    dict(dy=0, legs="stand", front="up", back="up", eyes="happy", mouth="grin"),
    dict(dy=1, legs="stand", front="down", back="down", eyes="closed", mouth="smile"),
    dict(dy=-1, legs="stand", front="out", back="back", eyes="happy", mouth="o"),
]


def _limb(d, a, b, col, width=3):
    d.line([a, b], fill=c("ink"), width=width + 2)
    d.line([a, b], fill=c(col), width=width)


def _hand(d, p, col="skin"):
    x, y = p
    d.ellipse([x - 2, y - 2, x + 3, y + 3], fill=c("ink"))
    d.ellipse([x - 1, y - 1, x + 2, y + 2], fill=c(col))


ARM_ENDS = {  # (dx, dy) of the hand from the shoulder
    "down": (1, 7), "throw": (10, -6), "back": (-6, 2), "out": (6, 1),
    "up": (9, -13), "head": (0, -12),
}


def player(pose):
    p = PLAYER_POSES[pose]
    img = new(32, 40)
    d = draw(img)
    dy = p["dy"]
    lean = 2 if p["legs"] == "lunge" else 0
    # shoulders
    sf = (18 + lean, 23 + dy)
    sb = (12 + lean, 23 + dy)

    # back arm (behind the body, shaded)
    ex, ey = ARM_ENDS[p["back"]]
    if p["back"] == "up":
        ex = -ex
    hb = (sb[0] + ex, sb[1] + ey)
    _limb(d, sb, hb, "navy")
    _hand(d, hb, "skin2")

    # legs
    legs = p["legs"]
    if legs == "stand":
        feet = [(12, 37), (18, 37)]
        knees = [(13, 33), (18, 33)]
    elif legs == "lunge":
        feet = [(9, 37), (21, 37)]
        knees = [(12, 33), (19, 33)]
    elif legs == "crouch":
        feet = [(10, 37), (20, 37)]
        knees = [(11, 35), (20, 35)]
    elif legs == "tuck":
        feet = [(11, 34), (19, 35)]
        knees = [(13, 32), (19, 31)]
    else:  # kick
        feet = [(9, 35), (21, 33)]
        knees = [(12, 32), (19, 31)]
    hip_y = 30 + dy
    for (fx, fy), (kx, ky) in zip(feet, knees):
        hx = 13 + lean if fx < 16 else 18 + lean
        d.line([(hx, hip_y), (kx, ky), (fx, fy - 1)], fill=c("skin"), width=3)
        d.rectangle([fx - 2, fy - 1, fx + 2, fy + 1], fill=c("red"))
        d.point((fx + 2, fy - 1), fill=c("red2"))

    # happi coat
    bx = 9 + lean
    d.polygon([(bx + 1, 20 + dy), (bx + 12, 20 + dy), (bx + 14, 31 + dy),
               (bx - 1, 31 + dy)], fill=c("blue"))
    d.line([(bx + 8, 20 + dy), (bx + 11, 31 + dy)], fill=c("white"))
    d.line([(bx + 9, 20 + dy), (bx + 12, 31 + dy)], fill=c("white"))
    d.line([(bx - 1, 31 + dy), (bx + 14, 31 + dy)], fill=c("navy"))
    d.rectangle([bx, 27 + dy, bx + 13, 28 + dy], fill=c("red"))  # obi
    d.line([(bx + 2, 21 + dy), (bx + 2, 26 + dy)], fill=c("sky"))

    # head
    hx, hy = 7 + lean, 2 + dy
    d.ellipse([hx, hy, hx + 18, hy + 17], fill=c("skin"))
    # hair: back of the head and fringe
    d.pieslice([hx - 1, hy - 1, hx + 19, hy + 18], 150, 330, fill=c("hair"))
    d.ellipse([hx - 3, hy + 4, hx + 5, hy + 16], fill=c("hair"))  # ponytail
    d.polygon([(hx + 8, hy), (hx + 17, hy + 5), (hx + 12, hy + 6)],
              fill=c("hair"))
    d.line([(hx + 2, hy + 3), (hx + 6, hy + 1)], fill=c("hair2"))
    # headband with knot tails behind
    d.line([(hx + 1, hy + 6), (hx + 18, hy + 6)], fill=c("red"), width=2)
    tail = 1 if pose in (3, 5) else 0
    d.line([(hx, hy + 6), (hx - 5, hy + 4 - 2 * tail)], fill=c("red"), width=2)
    d.line([(hx, hy + 7), (hx - 4, hy + 10 - tail)], fill=c("red2"), width=2)
    d.point((hx + 16, hy + 6), fill=c("white"))
    # face
    ex0, ey0 = hx + 11, hy + 9
    eyes = p["eyes"]
    for k in (0, 5):
        x = ex0 + k
        if eyes in ("open", "focus"):
            d.rectangle([x, ey0, x + 1, ey0 + 2], fill=c("ink"))
            d.point((x + 1, ey0), fill=c("white"))
            if eyes == "focus":
                d.line([(x - 1, ey0 - 2), (x + 2, ey0 - 1)], fill=c("hair"))
        elif eyes == "squint":
            d.line([(x - 1, ey0 + 1), (x + 2, ey0 + 1)], fill=c("ink"))
        elif eyes == "closed":
            d.line([(x - 1, ey0 + 2), (x + 2, ey0 + 2)], fill=c("ink"))
        else:  # happy arcs
            d.line([(x - 1, ey0 + 2), (x, ey0 + 1), (x + 1, ey0 + 1),
                    (x + 2, ey0 + 2)], fill=c("ink"))
    d.point((ex0 - 1, ey0 + 4), fill=c("pink"))
    d.point((ex0 + 7, ey0 + 4), fill=c("pink"))
    mx, my = ex0 + 3, ey0 + 5
    mouth = p["mouth"]
    if mouth == "smile":
        d.line([(mx, my), (mx + 2, my)], fill=c("red2"))
    elif mouth == "grin":
        d.rectangle([mx, my, mx + 2, my + 1], fill=c("red2"))
        d.line([(mx, my), (mx + 2, my)], fill=c("white"))
    elif mouth == "shout":
        d.rectangle([mx, my - 1, mx + 2, my + 1], fill=c("red2"))
    else:
        d.rectangle([mx + 1, my, mx + 2, my + 1], fill=c("red2"))

    # front arm
    ex, ey = ARM_ENDS[p["front"]]
    hf = (sf[0] + ex, sf[1] + ey)
    _limb(d, sf, hf, "blue")
    _hand(d, hf)
    if p["front"] == "throw":
        d.ellipse([hf[0] + 1, hf[1] - 1, hf[0] + 3, hf[1] + 1], fill=c("bean"))
    outline(img)
    return img


# ---------------------------------------------------------------- oni
def raider(frame):
    """frame 0 and 1: walking; 2: knocked back."""
    img = new(32, 40)
    d = draw(img)
    hit = frame == 2
    bob = 1 if frame == 1 else 0
    oy = bob
    # tail-less round body; legs first
    if not hit:
        lx = [(11, 14), (18, 21)] if frame == 0 else [(9, 12), (20, 23)]
        for i, (a, b) in enumerate(lx):
            lift = 1 if (frame == 1 and i == 1) else 0
            d.rectangle([a, 33, b, 37 - lift], fill=c("oni2"))
            d.rectangle([a - 1, 37 - lift, b, 38 - lift], fill=c("ink2"))
    else:
        d.line([(10, 32), (5, 36)], fill=c("oni2"), width=4)
        d.line([(20, 32), (25, 37)], fill=c("oni2"), width=4)
    # body
    bx0, by0 = 5, 9 + oy
    d.ellipse([bx0, by0, bx0 + 22, by0 + 25], fill=c("oni"))
    d.ellipse([bx0 + 11, by0 + 3, bx0 + 20, by0 + 22], fill=c("oni2"))
    d.ellipse([bx0 + 2, by0 + 2, bx0 + 17, by0 + 20], fill=c("oni"))
    # tiger-skin loincloth
    ly = by0 + 19
    d.rectangle([bx0 + 2, ly, bx0 + 20, ly + 4], fill=c("tiger"))
    for sx in range(bx0 + 3, bx0 + 21, 4):
        d.line([(sx, ly), (sx + 1, ly + 4)], fill=c("ink2"))
    # horn and hair tuft
    hx = 14
    d.polygon([(hx, by0 + 1), (hx + 4, by0 + 1), (hx + 2, by0 - 7)],
              fill=c("horn"))
    d.line([(hx + 1, by0 - 1), (hx + 3, by0 - 1)], fill=c("gold2"))
    d.polygon([(bx0 + 14, by0 + 1), (bx0 + 20, by0 + 3), (bx0 + 16, by0 + 5)],
              fill=c("red"))
    # face, looking left
    fy = by0 + 9
    if not hit:
        for x in (8, 14):
            d.ellipse([x - 1, fy - 2, x + 3, fy + 2], fill=c("white"))
            d.rectangle([x - 1, fy - 1, x, fy + 1], fill=c("ink"))
        d.line([(6, fy - 4), (10, fy - 3)], fill=c("ink"))
        d.line([(13, fy - 3), (17, fy - 4)], fill=c("ink"))
        # hungry open mouth with a fang and drool
        d.ellipse([7, fy + 5, 14, fy + 10], fill=c("red2"))
        d.polygon([(9, fy + 5), (11, fy + 5), (10, fy + 7)], fill=c("white"))
        d.point((12, fy + 11), fill=c("sky2"))
        d.point((12, fy + 12 - bob), fill=c("sky2"))
        # arm holding a spoon up
        ay = fy + 7
        d.line([(19, ay), (24, ay - 3 + bob)], fill=c("oni"), width=3)
        d.line([(25, ay - 4 + bob), (25, ay - 13 + bob)], fill=c("grey"),
               width=1)
        d.ellipse([23, ay - 17 + bob, 27, ay - 12 + bob], fill=c("grey"))
        d.point((24, ay - 16 + bob), fill=c("white"))
        d.line([(4, fy + 8), (1, fy + 11 - bob)], fill=c("oni"), width=3)
    else:
        for x in (8, 14):  # >< eyes
            d.line([(x - 1, fy - 2), (x + 2, fy), (x - 1, fy + 2)],
                   fill=c("ink"))
        d.ellipse([8, fy + 4, 14, fy + 11], fill=c("red2"))
        d.ellipse([10, fy + 8, 13, fy + 11], fill=c("pink"))
        d.line([(3, fy + 5), (0, fy - 2)], fill=c("oni"), width=3)
        d.line([(23, fy + 4), (28, fy - 3)], fill=c("oni"), width=3)
        d.point((20, fy - 6), fill=c("sky2"))
        d.line([(21, fy - 8), (22, fy - 6)], fill=c("sky2"))
    outline(img)
    if hit:
        # stars of the blow
        for (sx, sy) in ((26, 6), (3, 4)):
            star(img, sx, sy, "yellow")
    return img


def star(img, x, y, col):
    d = draw(img)
    d.line([(x - 2, y), (x + 2, y)], fill=c(col))
    d.line([(x, y - 2), (x, y + 2)], fill=c(col))
    d.point((x, y), fill=c("white"))


# ---------------------------------------------------------------- bowl
def bowl(level):
    """level 0 full .. 4 empty."""
    img = new(32, 40)
    d = draw(img)
    top = 24  # rim line
    # inside of the bowl (seen when the rice is low)
    d.ellipse([3, top - 3, 28, top + 4], fill=c("wood3"))
    heap = [12, 15, 18, 21, None][level]
    if heap is not None:
        d.ellipse([4, heap, 27, top + 5], fill=c("cloud2"))
        d.ellipse([5, heap, 25, top + 2], fill=c("white"))
        # grains
        for gx, gy in ((9, 2), (14, 1), (19, 3), (12, 5), (22, 6)):
            if heap + gy < top:
                d.point((gx, heap + gy), fill=c("cloud2"))
        if level == 0:
            d.ellipse([13, heap - 3, 18, heap + 2], fill=c("red"))
            d.point((14, heap - 2), fill=c("pink"))
            d.line([(16, heap - 4), (18, heap - 6)], fill=c("green"))
        if level == 1:
            d.ellipse([13, heap - 3, 18, heap + 2], fill=c("red"))
            d.ellipse([17, heap - 5, 24, heap + 3], fill=(0, 0, 0, 0))
        if level == 2:
            d.ellipse([3, heap - 4, 12, heap + 3], fill=(0, 0, 0, 0))
            d.ellipse([20, heap - 3, 28, heap + 3], fill=(0, 0, 0, 0))
    else:
        d.ellipse([5, top - 2, 26, top + 3], fill=c("ink2"))
        for gx, gy in ((11, 0), (18, 1), (15, -1)):
            d.point((gx, top + gy), fill=c("white"))
    # bowl body: red lacquer with a gold band and a foot ring
    d.chord([2, top - 12, 29, top + 14], 0, 180, fill=c("red"))
    d.chord([5, top - 9, 26, top + 12], 20, 160, fill=c("red2"))
    d.chord([2, top - 12, 29, top + 14], 0, 180, outline=None)
    d.line([(3, top + 3), (28, top + 3)], fill=c("gold"))
    d.line([(6, top + 1), (9, top + 8)], fill=c("pink"))
    d.rectangle([10, top + 13, 21, top + 15], fill=c("red2"))
    d.line([(2, top), (29, top)], fill=c("red2"))
    outline(img)
    return img


# ---------------------------------------------------------------- beans
def bean(w=8, h=8, upright=False):
    img = new(w, h)
    d = draw(img)
    if upright:
        d.ellipse([1, 2, w - 2, h - 3], fill=c("bean"))
        d.line([(w - 3, 4), (w - 3, h - 5)], fill=c("bean2"))
        d.point((2, 4), fill=c("cream"))
    else:
        d.ellipse([1, 1, w - 2, h - 2], fill=c("bean"))
        d.point((w - 3, h - 3), fill=c("bean2"))
        d.point((w - 4, h - 3), fill=c("bean2"))
        d.point((2, 2), fill=c("cream"))
    outline(img)
    return img


def spark(frame):
    """8 x 8 hit spark: a burst that opens and fades."""
    img = new(8, 8)
    d = draw(img)
    if frame == 0:
        d.rectangle([2, 2, 5, 5], fill=c("white"))
        d.line([(0, 3), (7, 3)], fill=c("yellow"))
        d.line([(3, 0), (3, 7)], fill=c("yellow"))
        d.point((3, 3), fill=c("white"))
    elif frame == 1:
        for (a, b) in (((0, 0), (2, 2)), ((7, 0), (5, 2)), ((0, 7), (2, 5)),
                       ((7, 7), (5, 5))):
            d.line([a, b], fill=c("yellow"))
        d.line([(3, 0), (3, 1)], fill=c("white"))
        d.line([(3, 6), (3, 7)], fill=c("white"))
        d.line([(0, 3), (1, 3)], fill=c("white"))
        d.line([(6, 3), (7, 3)], fill=c("white"))
        d.rectangle([3, 3, 4, 4], fill=c("orange"))
    else:
        for p in ((0, 0), (7, 0), (0, 7), (7, 7), (3, 0), (0, 4), (7, 3),
                  (4, 7)):
            d.point(p, fill=c("orange"))
    return img


def flash(frame):
    """16 x 16 flash at the girl's hand as a bean leaves it."""
    img = new(16, 16)
    d = draw(img)
    cx, cy = 7, 7
    r_out = [7, 6, 7][frame]
    rot = [0, math.pi / 8, math.pi / 4][frame]
    pts = []
    for i in range(16):
        a = rot + i * math.pi / 8
        r = r_out if i % 2 == 0 else 2.5
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    d.polygon(pts, fill=c("yellow"))
    d.ellipse([cx - 2, cy - 2, cx + 2, cy + 2], fill=c("white"))
    if frame == 2:
        d.point((cx, cy), fill=c("cream"))
    outline(img, "orange")
    return img
