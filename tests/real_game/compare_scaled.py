#!/usr/bin/env python3
"""Whether a screenshot of the whole screen holds one of the game's frames
at the whole factor the game picks, centred on black, every picture pixel a
square of screen pixels of one colour.
  compare_scaled.py SCREEN.png FRAME.png...   status 0 when one matches"""
import struct
import sys
import zlib


def read_png(path, with_alpha=False):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + ": not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    channels = {2: 3, 6: 4}.get(colour)
    if depth != 8 or channels is None or interlace:
        raise ValueError(path + ": only 8-bit RGB or RGBA, not interlaced")
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        kept = channels if with_alpha else 3
        rows.append([tuple(line[x * channels:x * channels + kept]) for x in range(width)])
        previous = line
    return width, height, rows


def main():
    width, height, screen = read_png(sys.argv[1])
    frame_width, frame_height, _ = read_png(sys.argv[2])
    scale = min(width // frame_width, height // frame_height)
    left, top = (width - frame_width * scale) // 2, (height - frame_height * scale) // 2
    for y in range(height):
        for x in range(width):
            inside = left <= x < left + frame_width * scale and top <= y < top + frame_height * scale
            if not inside and screen[y][x] != (0, 0, 0):
                print(f"not black outside the picture at {x},{y}: {screen[y][x]}")
                return 1
            if inside and screen[y][x] != screen[top + (y - top) // scale * scale][left + (x - left) // scale * scale]:
                print(f"not a square of one colour at {x},{y}: blurred or not x{scale}")
                return 1
    shrunk = [[screen[top + y * scale][left + x * scale] for x in range(frame_width)] for y in range(frame_height)]
    seen = set()
    for path in sys.argv[2:]:
        with open(path, "rb") as f:
            content = f.read()
        if content in seen:
            continue  # the same frame as one already compared
        seen.add(content)
        if read_png(path)[2] == shrunk:
            print(f"x{scale} at {left},{top}: {path}")
            return 0
    print(f"x{scale} at {left},{top}: none of the {len(sys.argv) - 2} frames")
    return 1


if __name__ == "__main__":
    sys.exit(main())
