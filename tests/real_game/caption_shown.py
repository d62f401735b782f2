#!/usr/bin/env python3
"""Whether a screenshot of the whole screen shows a caption band over the
bottom of the game's picture (or a band with its top at the picture's row
TOP), the picture at the whole factor the game picks, centred: every opaque
pixel of the band (its letters) is on the screen.
  caption_shown.py SCREEN.png BAND.png [TOP]   status 0 when shown, 1 when not"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from compare_scaled import read_png  # noqa: E402

PICTURE_WIDTH, PICTURE_HEIGHT = 320, 240


def main():
    width, height, screen = read_png(sys.argv[1])
    band_width, band_height, band = read_png(sys.argv[2], with_alpha=True)
    scale = min(width // PICTURE_WIDTH, height // PICTURE_HEIGHT)
    left = (width - PICTURE_WIDTH * scale) // 2
    band_top = int(sys.argv[3]) if len(sys.argv) > 3 else PICTURE_HEIGHT - band_height
    top = (height - PICTURE_HEIGHT * scale) // 2 + band_top * scale
    letters = [(x, y) for y in range(band_height) for x in range(band_width) if band[y][x][3] == 255]
    same = sum(1 for x, y in letters if screen[top + y * scale][left + x * scale] == band[y][x][:3])
    print(f"{same} of the band's {len(letters)} letter pixels on the screen")
    return 0 if letters and same == len(letters) else 1


if __name__ == "__main__":
    sys.exit(main())
