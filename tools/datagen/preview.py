"""Mock screens for judging the pictures together (not part of data/).

Usage: /usr/bin/python3 tools/datagen/preview.py [--lang en] OUTDIR
Composes a play screen and a title screen from the generated sheets the
way the game draws them, enlarged twice; with --lang en, from the English
sheets.
"""
import os
import sys

from PIL import Image

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
BITMAPS = os.path.join(ROOT, "data", "bitmap")


def load(name):
    return Image.open(os.path.join(BITMAPS, name)).convert("RGB")


def blit(screen, sheet, x, y, rect):
    part = sheet.crop(rect)
    mask = part.convert("L").point(lambda v: 255 if v else 0)
    # exact colour key: only pure black is transparent
    px, mp = part.load(), mask.load()
    for yy in range(part.height):
        for xx in range(part.width):
            mp[xx, yy] = 0 if px[xx, yy] == (0, 0, 0) else 255
    screen.paste(part, (x, y), mask)


def play_screen(scroll=(-10, -30, -50, -20), time_left=2000, empty=False):
    sh = load("main.bmp")
    scr = Image.new("RGB", (320, 240))
    for s in range(4):
        for j in range(11):
            blit(scr, sh, 32 * j + scroll[s] // 2, [0, 32, 192, 224][s],
                 (64 + 32 * s, 208, 96 + 32 * s, 240))
    for r in range(4):
        for k in range(6):
            blit(scr, sh, 64 * k + 16 * r - 48, 64 + 32 * r, (0, 208, 64, 240))
    # player on lane 1 throwing, bowls
    blit(scr, sh, 40, 80, (32, 0, 64, 40))
    blit(scr, sh, 24, 112 - 30, (96, 0, 128, 40))
    for i in range(4):
        lv = [0, 1, 3, 4][i]
        blit(scr, sh, 88 - 16 * i, 48 + 32 * i, (32 * lv, 40, 32 * lv + 32, 80))
    blit(scr, sh, 40 + 30, 80 + 12, (208, 192, 224, 208))
    # raiders
    for r, xs in enumerate([(112, 200), (150, 260), (80,), (64, 180)]):
        for n, x in enumerate(xs):
            pic = (64, 80, 96, 120) if n == 1 and r == 1 else \
                ((0, 80, 32, 120) if n % 2 == 0 else (32, 80, 64, 120))
            blit(scr, sh, x, 32 * r + 44, pic)
    # shots and a spark
    for x in (100, 130):
        blit(scr, sh, x, 96, (216, 176, 224, 184))
    blit(scr, sh, 150, 96, (224, 176, 232, 184))
    # gauge or label
    if empty:
        blit(scr, sh, 100, 208, (248, 176, 304, 192))
    else:
        for i in range(30):
            blit(scr, sh, 8 * i + 8, 208, (208, 176, 216, 192))
    o = 0 if time_left > 3000 else 16
    ds = [time_left // 6000, time_left % 6000 // 1000,
          time_left % 1000 // 100, time_left % 100 // 10]
    blit(scr, sh, 0, 0, (168, 176 + o, 208, 192 + o))
    blit(scr, sh, 64, 0, (160, 176 + o, 168, 192 + o))
    blit(scr, sh, 104, 0, (160, 176 + o, 168, 192 + o))
    for d, x in zip(ds, (48, 72, 88, 112)):
        blit(scr, sh, x, 0, (16 * d, 176 + o, 16 * d + 16, 192 + o))
    return scr


def title_screen(logo_y=30, offset=20, pos=1):
    sh = load("title.bmp")
    scr = Image.new("RGB", (320, 240))
    for row in range(6):
        for col in range(10):
            blit(scr, sh, 32 * col, 32 + 32 * row, (288, 0, 320, 32))
    for k in range(7):
        blit(scr, sh, 64 * k - offset, 0, (0, 0, 64, 32))
        blit(scr, sh, 64 * k + offset - 64, 208, (0, 0, 64, 32))
    blit(scr, sh, 224, 112, (0, 96, 64, 192))
    blit(scr, sh, 16, 176, (128, 0, 288, 32))
    blit(scr, sh, 0, logo_y, (0, 32, 320, 96))
    blit(scr, sh, 192, 112 + 32 * pos, (64, 0, 96, 32))
    return scr


def result_screen(rank=2):
    sh = load("end.bmp")
    scr = Image.new("RGB", (320, 240))
    blit(scr, sh, 0, 32, (0, 0, 320, 176))
    blit(scr, sh, 48, 96, (0, 192, 128, 224))
    blit(scr, sh, 192, 68, (128 + 40 * rank, 176, 168 + 40 * rank, 240))
    return scr


def cutin_screen(won=True):
    scr = play_screen()
    sh = load("main.bmp")
    blit(scr, sh, 104, 80, (160, 40, 272, 104) if won else (160, 104, 272, 168))
    return scr


def main():
    global BITMAPS
    args = sys.argv[1:]
    if args[:1] == ["--lang"] and len(args) > 1:
        if args[1] != "ja":
            BITMAPS = os.path.join(ROOT, "data", "lang", args[1], "bitmap")
        args = args[2:]
    out = args[0] if args else "/tmp/preview"
    os.makedirs(out, exist_ok=True)
    shots = {
        "play": play_screen(time_left=9000),
        "play_urgent": play_screen(time_left=2500, empty=True),
        "title": title_screen(),
        "result": result_screen(),
        "cutin_end": cutin_screen(True),
        "cutin_miss": cutin_screen(False),
    }
    for name, img in shots.items():
        img.resize((640, 480), Image.NEAREST).save(os.path.join(out, name + ".png"))


if __name__ == "__main__":
    main()
