"""A small Standard MIDI File writer (format 1) and a note-list language.

Notes are written as tokens "E5:2" (pitch, length in steps) or "r:2"
(rest); a step is an eighth note unless a track says otherwise.
Chords are pitches joined by "+": "C4+E4+G4:8".
"""
import struct

PPQ = 480
NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def pitch(name):
    """'C4' is 60, 'G#5' is 80, 'Bb3' is 58."""
    n = NAMES[name[0].upper()]
    rest = name[1:]
    while rest and rest[0] in "#b":
        n += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + n


def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


class Track:
    def __init__(self, name, channel=0, program=None, volume=100, pan=64,
                 step=PPQ // 2):
        self.name = name
        self.channel = channel
        self.step = step
        self.events = []  # (tick, order, bytes)
        self.meta(0, 0x03, name.encode("ascii"))
        if program is not None:
            self.raw(0, 1, bytes([0xC0 | channel, program]))
        self.raw(0, 1, bytes([0xB0 | channel, 7, volume]))
        self.raw(0, 1, bytes([0xB0 | channel, 10, pan]))
        self.raw(0, 1, bytes([0xB0 | channel, 91, 40]))  # a little reverb

    def raw(self, tick, order, data):
        self.events.append((tick, order, data))

    def meta(self, tick, kind, data):
        self.raw(tick, 0, bytes([0xFF, kind]) + vlq(len(data)) + data)

    def note(self, tick, key, length, vel=96):
        """One note from tick for length ticks (offs sort before ons)."""
        self.raw(tick, 3, bytes([0x90 | self.channel, key, vel]))
        self.raw(tick + length, 2, bytes([0x80 | self.channel, key, 0]))

    def play(self, tick, tokens, vel=96, octave=0, legato=0.9, step=None):
        """Play a token string from tick; returns the tick after it."""
        step = step or self.step
        for tok in tokens.split():
            what, _, n = tok.partition(":")
            length = int(float(n or 1) * step)
            if what != "r":
                for p in what.split("+"):
                    key = pitch(p) + 12 * octave
                    self.note(tick, key, max(1, int(length * legato)), vel)
            tick += length
        return tick

    def chunk(self, end_tick):
        evs = sorted(self.events, key=lambda e: (e[0], e[1]))
        assert evs[-1][0] <= end_tick, (self.name, evs[-1][0], end_tick)
        out = b""
        now = 0
        for tick, _, data in evs:
            out += vlq(tick - now) + data
            now = tick
        out += vlq(end_tick - now) + b"\xff\x2f\x00"
        return b"MTrk" + struct.pack(">I", len(out)) + out


def conductor(bpm, beats=4):
    t = Track("conductor")
    t.events = []
    t.meta(0, 0x03, b"conductor")
    t.meta(0, 0x51, struct.pack(">I", int(round(60000000 / bpm)))[1:])
    t.meta(0, 0x58, bytes([beats, 2, 24, 8]))
    return t


def write(path, tracks, end_tick):
    data = b"MThd" + struct.pack(">IHHH", 6, 1, len(tracks), PPQ)
    for t in tracks:
        data += t.chunk(end_tick)
    with open(path, "wb") as f:
        f.write(data)
