"""The five pieces of music.

title.mid and main.mid loop: each ends exactly on a bar line with every
note released, and its last bar turns back towards the first chord.
hue.mid (time-up whistle), end.mid (victory) and miss.mid (defeat) are
short jingles played once.
"""
import os

import midi
from midi import PPQ, Track, pitch

BAR = 4 * PPQ
E8 = PPQ // 2

# GM programs
FLUTE, KOTO, STRINGS, PIZZ, SHAMISEN = 73, 107, 48, 45, 106
SQUARE, PICK_BASS, BRASS, SYNTH_BRASS = 80, 34, 61, 62
WHISTLE, TRUMPET, MUTED, TROMBONE, TUBA, TIMPANI = 78, 56, 59, 57, 58, 47
GLOCK, ORCH_HIT = 9, 55
DRUMS = 9  # channel
KICK, SNARE, HAT, OPEN_HAT, CRASH, TOM_HI, TOM_MID, TOM_LO = \
    36, 38, 42, 46, 49, 50, 47, 45
SHAKER, CLAP, TAMB, RIDE = 70, 39, 54, 51

QUALITY = {"": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10),
           "m7": (0, 3, 7, 10)}


def chord(sym, octave=3):
    """'Am' -> root and triad pitches with the root in the given octave."""
    root = sym[0] + (sym[1] if len(sym) > 1 and sym[1] in "#b" else "")
    qual = sym[len(root):]
    base = pitch(root + str(octave))
    return base, [base + i for i in QUALITY[qual]]


def bass_line(track, start, chords, pattern, vel=100):
    """pattern: list of (step offset in eighths, interval above root,
    length in eighths) per bar; a bar's chord may be two, split in half."""
    for b, sym in enumerate(chords):
        halves = sym.split()
        for h, s in enumerate(halves):
            root, _ = chord(s, 2)
            span = 8 // len(halves)
            for off, iv, ln in pattern:
                if off < span:
                    track.note(start + b * BAR + (h * span + off) * E8,
                               root + iv, int(ln * E8 * 0.9), vel)


def arpeggio(track, start, chords, order, octave=4, vel=70, step=E8,
             length=None):
    n_steps = BAR // step
    for b, sym in enumerate(chords):
        halves = sym.split()
        for i in range(n_steps):
            s = halves[min(len(halves) - 1, i * len(halves) // n_steps)]
            root, tones = chord(s, octave)
            tones = tones[:3] + [tones[0] + 12]
            key = tones[order[i % len(order)]]
            track.note(start + b * BAR + i * step, key,
                       int((length or step) * 0.95), vel)


def pads(track, start, chords, octave=4, vel=60):
    for b, sym in enumerate(chords):
        halves = sym.split()
        span = BAR // len(halves)
        for h, s in enumerate(halves):
            _, tones = chord(s, octave)
            for k in tones:
                track.note(start + b * BAR + h * span, k, span - 20, vel)


def drum_bar(track, tick, pattern, vel=100):
    """pattern: dict of drum -> string of 16 sixteenths ('x' hit, 'o' soft)."""
    for drum, row in pattern.items():
        for i, ch in enumerate(row):
            if ch in "xo":
                track.note(tick + i * PPQ // 4, drum, PPQ // 8,
                           vel if ch == "x" else vel * 2 // 3)


# ---------------------------------------------------------------- title
TITLE_CHORDS = ["C", "Am", "F", "G", "C", "Am", "Dm G", "C",
                "F", "G", "Em", "Am", "F", "G", "Dm", "G7"]
TITLE_TUNE = """
E5:2 G5:2 A5:2 G5:2  E5:3 D5:1 C5:4  A4:2 C5:2 D5:2 F5:2  E5:4 D5:4
E5:2 G5:2 A5:2 C6:2  A5:3 G5:1 E5:4  D5:2 E5:2 G5:2 D5:2  C5:6 r:2
A5:2 A5:1 G5:1 F5:2 A5:2  G5:4 D5:4  E5:2 G5:2 B5:2 G5:2  A5:6 r:2
F5:2 A5:2 C6:2 A5:2  G5:2 B5:2 D6:2 B5:2  A5:3 G5:1 F5:2 E5:2
D5:2 F5:2 G5:2 B4:2
"""


def title():
    bpm = 100
    bars = len(TITLE_CHORDS) * 2
    end = bars * BAR
    lead = Track("flute", 0, FLUTE, volume=104)
    koto = Track("koto", 1, KOTO, volume=88, pan=44)
    strings = Track("strings", 2, STRINGS, volume=72, pan=84)
    bass = Track("bass", 3, PIZZ, volume=100)
    drums = Track("drums", DRUMS, None, volume=80)
    glock = Track("glockenspiel", 4, GLOCK, volume=64, pan=96)
    for rep in range(2):
        start = rep * len(TITLE_CHORDS) * BAR
        lead.play(start, TITLE_TUNE, vel=92 if rep == 0 else 100,
                  legato=0.92)
        if rep == 1:  # the second time round, bells double the tune
            glock.play(start, TITLE_TUNE, vel=60, octave=1, legato=0.5)
        arpeggio(koto, start, TITLE_CHORDS, [0, 1, 2, 3, 2, 1, 0, 2],
                 octave=4, vel=62)
        pads(strings, start, TITLE_CHORDS, octave=3, vel=50 + 8 * rep)
        bass_line(bass, start, TITLE_CHORDS,
                  [(0, 0, 2), (3, 7, 1), (4, 12, 2), (6, 7, 2)], vel=90)
        for b in range(len(TITLE_CHORDS)):
            t = start + b * BAR
            pat = {KICK: "x.......x.......", SHAKER: "o.x.o.x.o.x.o.x.",
                   TAMB: "....x.......x..."}
            if b == len(TITLE_CHORDS) - 1:
                pat = {KICK: "x.......x.......", SHAKER: "o.x.o.x.o.x.o.x.",
                       TOM_HI: "........x.x.....", TOM_MID: "............x.x.",
                       }
            if b == 0 and rep == 0:
                pat = dict(pat)
                pat[CRASH] = "x..............."
            drum_bar(drums, t, pat, vel=84)
    midi.write(OUT["title"], [midi.conductor(bpm), lead, koto, strings,
                              bass, drums, glock], end)


# ---------------------------------------------------------------- main
MAIN_CHORDS = ["Am", "F", "G", "Am", "Am", "F", "G", "E",
               "F", "G", "Em", "Am", "Dm", "G", "C E", "E"]
MAIN_TUNE = """
A4:1 C5:1 E5:2 D5:1 C5:1 D5:2  C5:1 A4:1 C5:2 F5:2 E5:2
D5:1 B4:1 D5:2 G5:2 F5:1 E5:1  E5:4 r:2 A4:1 B4:1
C5:1 E5:1 A5:2 G5:1 E5:1 G5:2  A5:2 F5:2 C5:2 F5:2
G5:1 F5:1 E5:1 D5:1 B4:2 G4:2  G#4:2 B4:2 E5:2 G#5:2
A5:3 G5:1 F5:2 C5:2  B4:2 D5:2 G5:3 F5:1
E5:2 G5:2 B5:2 G5:2  A5:3 E5:1 C5:4
D5:1 F5:1 A5:2 D6:2 C6:1 A5:1  B5:2 G5:2 D5:2 B5:2
C6:2 G5:2 B5:2 G#5:2  E5:1 F#5:1 G#5:1 A5:1 B5:2 r:2
"""


def main_theme():
    bpm = 152
    n = len(MAIN_CHORDS)
    end = 2 * n * BAR
    lead = Track("lead", 0, SQUARE, volume=92)
    double = Track("shamisen", 1, SHAMISEN, volume=96, pan=40)
    koto = Track("koto", 2, KOTO, volume=80, pan=88)
    bass = Track("bass", 3, PICK_BASS, volume=108)
    brass = Track("brass", 4, SYNTH_BRASS, volume=78, pan=72)
    drums = Track("drums", DRUMS, None, volume=96)
    for rep in range(2):
        start = rep * n * BAR
        lead.play(start, MAIN_TUNE, vel=96, legato=0.85)
        if rep == 1:
            double.play(start, MAIN_TUNE, vel=100, octave=-1, legato=0.6)
        arpeggio(koto, start, MAIN_CHORDS, [0, 2, 1, 3, 0, 2, 1, 3],
                 octave=4, vel=58 + 10 * rep, step=PPQ // 4)
        bass_line(bass, start, MAIN_CHORDS,
                  [(i, 12 if i % 2 else 0, 1) for i in range(8)], vel=96)
        # brass stabs on the offbeats of every other bar
        for b, sym in enumerate(MAIN_CHORDS):
            _, tones = chord(sym.split()[-1], 4)
            for off in ((3, 6) if b % 2 else (0,)):
                for k in tones[:3]:
                    brass.note(start + b * BAR + off * E8, k, E8 - 30,
                               70 + 8 * rep)
        for b in range(n):
            t = start + b * BAR
            pat = {KICK: "x.....x.x.......", SNARE: "....x.......x...",
                   HAT: "x.x.x.x.x.x.x.xo"}
            if rep == 1:
                pat[HAT] = "xoxoxoxoxoxoxoxo"
            if b == n - 1:  # fill leading back to the top
                pat = {KICK: "x.....x.........",
                       SNARE: "....x...xoxoxxxx" if rep else "....x...x.x.xxxx",
                       TOM_HI: "........x.......",
                       TOM_LO: "..........x.....",
                       HAT: "x.x.x.x........."}
            if b == 0 or (b == 8):
                pat = dict(pat)
                pat[CRASH] = "x..............."
            drum_bar(drums, t, pat, vel=100)
    midi.write(OUT["main"], [midi.conductor(bpm), lead, double, koto, bass,
                             brass, drums], end)


# ---------------------------------------------------------------- jingles
def hue():
    """Referee's whistle: two short blasts and a long one, with a crash."""
    bpm = 120
    whistle = Track("whistle", 0, WHISTLE, volume=112)
    drums = Track("drums", DRUMS, None, volume=100)
    e16 = PPQ // 4
    whistle.note(0, pitch("B6"), e16, 120)
    whistle.note(2 * e16, pitch("B6"), e16, 120)
    whistle.note(PPQ, pitch("B6"), 2 * PPQ, 127)
    drums.note(PPQ, CRASH, 2 * PPQ, 110)
    drums.note(PPQ, KICK, e16, 112)
    midi.write(OUT["hue"], [midi.conductor(bpm), whistle, drums], 4 * PPQ)


def end_jingle():
    """Victory fanfare: a rising call, a drum roll, a bright last chord."""
    bpm = 132
    trumpet = Track("trumpet", 0, TRUMPET, volume=110)
    horns = Track("brass", 1, BRASS, volume=96, pan=80)
    bass = Track("tuba", 2, TUBA, volume=100)
    timp = Track("timpani", 3, TIMPANI, volume=104)
    drums = Track("drums", DRUMS, None, volume=100)
    e16 = PPQ // 4
    t = trumpet.play(0, "G4:1 C5:1 E5:1 G5:3 E5:1 G5:5", vel=108,
                     step=E8, legato=0.8)
    trumpet.play(t, "C6:4", vel=116, step=PPQ, legato=0.9)
    horns.play(0, "E4+G4:4 E4+G4:2 F4+B4:6", vel=90, step=E8)
    horns.play(t, "E4+G4+C5:4", vel=100, step=PPQ, legato=0.9)
    bass.play(0, "C3:4 C3:2 G2:6", vel=96, step=E8)
    bass.play(t, "C2:4", vel=100, step=PPQ, legato=0.9)
    for i in range(8):
        drums.note(t - PPQ * 2 + i * e16, SNARE, e16 // 2, 70 + 6 * i)
    drums.note(t, CRASH, PPQ * 2, 120)
    drums.note(t, KICK, e16, 120)
    timp.play(t, "C3:1 G2:1 C3:2", vel=110, step=PPQ // 2, legato=0.8)
    end = t + 4 * PPQ
    midi.write(OUT["end"], [midi.conductor(bpm), trumpet, horns, bass, timp,
                            drums], end)


def miss():
    """Sad trombone falling by half steps, then a low minor chord."""
    bpm = 100
    bone = Track("trombone", 0, TROMBONE, volume=110)
    muted = Track("muted trumpet", 1, MUTED, volume=90, pan=84)
    strings = Track("strings", 2, STRINGS, volume=80)
    timp = Track("timpani", 3, TIMPANI, volume=96)
    t = bone.play(0, "G3:2 F#3:2 F3:2 E3:6", vel=100, step=PPQ // 2,
                  legato=0.85)
    muted.play(0, "D4:2 C#4:2 C4:2 B3:6", vel=84, step=PPQ // 2,
               legato=0.85)
    # a wah at the end of the last note: the pitch sags
    bend = 0x2000
    for i in range(12):
        v = bend - int(i * 170)
        bone.raw(PPQ * 3 + i * PPQ // 8, 1,
                 bytes([0xE0 | bone.channel, v & 0x7F, (v >> 7) & 0x7F]))
    bone.raw(t + 10, 1, bytes([0xE0 | bone.channel, 0x00, 0x40]))
    strings.play(t, "A2+E3+A3+C4:6", vel=70, step=PPQ // 2, legato=0.95)
    timp.play(t, "A2:1", vel=100, step=PPQ // 2)
    end = t + 3 * PPQ
    midi.write(OUT["miss"], [midi.conductor(bpm), bone, muted, strings,
                             timp], end)


OUT = {}


def write_all(folder):
    os.makedirs(folder, exist_ok=True)
    for name in ("title", "main", "hue", "end", "miss"):
        OUT[name] = os.path.join(folder, name + ".mid")
    for name, fn in (("title", title), ("main", main_theme), ("hue", hue),
                     ("end", end_jingle), ("miss", miss)):
        fn()
        print("midi/%s.mid" % name)
