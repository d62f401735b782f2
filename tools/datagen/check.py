#!/usr/bin/python3
"""Check the generated data against the rules the game relies on.

Usage: /usr/bin/python3 tools/datagen/check.py
  bitmaps: 320 x 240 Windows bitmaps; no shown pixel truncates to RGB565 0
  English: each sheet's English bitmap has the Japanese one's header; in
           each word rectangle (tests/reference/word_rects.txt, which must
           match the sheet modules) both have drawn pixels, the English
           differs and leaves the rectangle's side columns clear; outside
           the rectangles the two are identical
  waves:   RIFF WAVE PCM, "fmt " before "data", peak and RMS level
  midi:    header, tempo and programs at time 0, every note-on released,
           End of Track on every track, length (loops: whole bars)
"""
import os
import struct
import sys

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
DATA = os.path.join(ROOT, "data")
BITMAPS = ["title", "setumei", "main", "end", "gameover", "staff"]
ENGLISH = os.path.join("lang", "en", "bitmap")
WORD_RECTS = os.path.join(ROOT, "tests", "reference", "word_rects.txt")
WAVES = ["wave/%02d" % i for i in range(7)] + ["voice/" + n for n in (
    "hajimaru", "setumei", "onaka", "kono", "oraora", "tama", "hin",
    "itadaki", "uwa")]
LOOPS = {"title", "main"}
MUSIC = ["title", "main", "hue", "end", "miss"]
problems = []


def bad(msg):
    problems.append(msg)
    print("  PROBLEM:", msg)


def check_bitmap(name, folder="bitmap"):
    """Returns the pixels as an int array (rows, columns, RGB)."""
    rel = os.path.join(folder, name + ".bmp")
    with open(os.path.join(DATA, rel), "rb") as f:
        head = f.read(2)
    if head != b"BM":
        bad(rel + ": not a Windows bitmap")
    img = Image.open(os.path.join(DATA, rel))
    if img.size != (320, 240):
        bad("%s: size %s" % (rel, img.size))
    a = np.asarray(img.convert("RGB")).astype(int)
    black = (a == 0).all(axis=2)
    zero565 = ((a[..., 0] >> 3) == 0) & ((a[..., 1] >> 2) == 0) & \
        ((a[..., 2] >> 3) == 0)
    n = int((zero565 & ~black).sum())
    if n:
        bad("%s: %d shown pixels become RGB565 0" % (rel, n))
    print("%s  %dx%d  transparent %d px" % (
        rel, img.size[0], img.size[1], int(black.sum())))
    return a


def read_word_rects(path):
    """[(name, x0, y0, x1, y1)] from the manifest; '#' starts a comment."""
    rects = []
    for n, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.split("#")[0].split()
        if not line:
            continue
        if len(line) != 5 or line[0] not in BITMAPS:
            bad("word_rects.txt:%d: not 'name x0 y0 x1 y1'" % n)
            continue
        x0, y0, x1, y1 = (int(v) for v in line[1:])
        if not (0 <= x0 < x1 <= 320 and 0 <= y0 < y1 <= 240):
            bad("word_rects.txt:%d: outside the sheet or empty" % n)
            continue
        rects.append((line[0], x0, y0, x1, y1))
    return rects


def check_word_rects_current():
    """The committed manifest is the one gen.py writes now."""
    sys.path.insert(0, HERE)
    import gen
    want = [(n, *r) for n, _, r in gen.word_rects()]
    if read_word_rects(WORD_RECTS) != want:
        bad("word_rects.txt differs from the sheet modules: run gen.py")


def check_english(name, ja, rects):
    """The English sheet against the Japanese one, word rectangle by
    rectangle.  A side column is clear where it shows what the Japanese
    sheet shows or nothing (pure black)."""
    en = check_bitmap(name, ENGLISH)
    rel = os.path.join(ENGLISH, name + ".bmp")
    with open(os.path.join(DATA, "bitmap", name + ".bmp"), "rb") as f:
        ja_head = f.read(54)
    with open(os.path.join(DATA, rel), "rb") as f:
        en_head = f.read(54)
    if en_head != ja_head:
        bad(rel + ": header differs from the Japanese sheet's")
    inside = np.zeros(ja.shape[:2], dtype=bool)
    for _, x0, y0, x1, y1 in rects:
        where = "%s (%d, %d, %d, %d)" % (rel, x0, y0, x1, y1)
        inside[y0:y1, x0:x1] = True
        j, e = ja[y0:y1, x0:x1], en[y0:y1, x0:x1]
        if not j.any():
            bad(where + ": nothing drawn in the Japanese sheet")
        if not e.any():
            bad(where + ": nothing drawn in English")
        if (j == e).all():
            bad(where + ": the English is the Japanese")
        for col in (0, x1 - x0 - 1):
            same = (e[:, col] == j[:, col]).all(axis=1)
            clear = (e[:, col] == 0).all(axis=1)
            if not (same | clear).all():
                bad(where + ": English touches column %d" % (x0 + col))
    outside = ((ja != en).any(axis=2) & ~inside).sum()
    if outside:
        bad("%s: %d pixels differ outside the word rectangles" % (rel, outside))
    print("%s  %d word rectangles, %d pixels changed" % (
        rel, len(rects), int((ja != en).any(axis=2).sum())))


def check_wave(name):
    path = os.path.join(DATA, name + ".wav")
    raw = open(path, "rb").read()
    if raw[:4] != b"RIFF" or raw[8:12] != b"WAVE":
        bad(name + ": not RIFF WAVE")
        return
    pos, order, fmt, data = 12, [], None, None
    while pos + 8 <= len(raw):
        cid, size = raw[pos:pos + 4], struct.unpack("<I", raw[pos + 4:pos + 8])[0]
        order.append(cid)
        body = raw[pos + 8:pos + 8 + size]
        if cid == b"fmt ":
            fmt = struct.unpack("<HHIIHH", body[:16])
        if cid == b"data":
            data = body
        pos += 8 + size + (size & 1)
    if order[:2] != [b"fmt ", b"data"] or fmt is None or fmt[0] != 1:
        bad(name + ": chunks %s fmt %s" % (order, fmt))
        return
    x = np.frombuffer(data, dtype="<i2").astype(float) / 32768
    peak = 20 * np.log10(np.max(np.abs(x)) + 1e-12)
    rms = 20 * np.log10(np.sqrt(np.mean(x ** 2)) + 1e-12)
    ends = max(abs(x[0]), abs(x[-1]))
    if ends > 0.01:
        bad(name + ": does not start and end at rest")
    if peak > -0.5:
        bad(name + ": too hot")
    print("%-16s %5d Hz %2d bit  %.3f s  peak %6.2f dBFS  RMS %6.2f dBFS" % (
        name + ".wav", fmt[2], fmt[5], len(x) / fmt[2], peak, rms))


def vlq(buf, i):
    n = 0
    while True:
        b = buf[i]
        i += 1
        n = (n << 7) | (b & 0x7F)
        if not b & 0x80:
            return n, i


def check_midi(name):
    raw = open(os.path.join(DATA, "midi", name + ".mid"), "rb").read()
    if raw[:4] != b"MThd":
        bad(name + ": no MThd")
        return
    fmt, ntrk, ppq = struct.unpack(">HHH", raw[8:14])
    pos = 14
    tempo, programs, length, numer = None, {}, 0, 4
    for t in range(ntrk):
        assert raw[pos:pos + 4] == b"MTrk"
        size = struct.unpack(">I", raw[pos + 4:pos + 8])[0]
        buf = raw[pos + 8:pos + 8 + size]
        pos += 8 + size
        i, tick, status, on, eot = 0, 0, 0, {}, False
        first_note = None
        while i < len(buf):
            d, i = vlq(buf, i)
            tick += d
            b = buf[i]
            if b == 0xFF:
                kind = buf[i + 1]
                ln, j = vlq(buf, i + 2)
                body = buf[j:j + ln]
                i = j + ln
                if kind == 0x51:
                    tempo = (tick, int.from_bytes(body, "big"))
                if kind == 0x58:
                    numer = body[0]
                if kind == 0x2F:
                    eot = True
                    length = max(length, tick)
                continue
            if b & 0x80:
                status = b
                i += 1
            hi, ch = status & 0xF0, status & 0x0F
            n = 1 if hi in (0xC0, 0xD0) else 2
            a = buf[i:i + n]
            i += n
            if hi == 0xC0:
                programs[ch] = tick
            if hi == 0x90 and a[1] > 0:
                on[(ch, a[0])] = on.get((ch, a[0]), 0) + 1
                first_note = tick if first_note is None else first_note
            if hi == 0x80 or (hi == 0x90 and a[1] == 0):
                on[(ch, a[0])] = on.get((ch, a[0]), 0) - 1
        if any(v for v in on.values()):
            bad("%s track %d: unmatched notes %s" % (name, t, on))
        if not eot:
            bad("%s track %d: no End of Track" % (name, t))
    if not tempo or tempo[0] != 0:
        bad(name + ": tempo not at time 0")
    if any(t != 0 for t in programs.values()):
        bad(name + ": program change after time 0")
    sec = length / ppq * tempo[1] / 1e6
    bars = length / (ppq * numer)
    loop = name in LOOPS
    if loop and (bars != int(bars) or not 30 <= sec <= 90):
        bad("%s: %.2f bars, %.1f s" % (name, bars, sec))
    if not loop and not 2 <= sec <= 6:
        bad("%s: %.1f s" % (name, sec))
    print("midi/%-9s format %d, %d tracks, %.1f s, %.2f bars, %d bpm%s" % (
        name + ".mid", fmt, ntrk, sec, bars, round(6e7 / tempo[1]),
        ", loops" if loop else ""))


def main():
    rects = read_word_rects(WORD_RECTS)
    check_word_rects_current()
    for b in BITMAPS:
        ja = check_bitmap(b)
        check_english(b, ja, [r for r in rects if r[0] == b])
    for w in WAVES:
        check_wave(w)
    for m in MUSIC:
        check_midi(m)
    print("%d problem(s)" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
