"""The spoken clips, made with espeak-ng's Japanese voice, then trimmed,
levelled and faded like the effects.

Two speakers: the girl (bright, quick) and the oni (low and gruff).
"""
import os
import struct
import subprocess

import numpy as np

import wavio
from wavio import RATE

LOUDNESS_DB = -16.0

SPEAKERS = {
    #          variant   pitch speed
    "girl": ("ja+f4", 78, 150),
    "oni": ("ja+m3", 22, 135),
}

# file, speaker, words, speed change, pitch change
CLIPS = [
    ("hajimaru", "girl", "はじまるよ！", 0, 0),
    ("setumei", "girl", "せつめいするね。", -10, -4),
    ("onaka", "oni", "おなか、すいたー。", -15, 0),
    ("kono", "girl", "このっ！", 20, 8),
    ("oraora", "girl", "おらおらー！", 25, 6),
    ("tama", "girl", "たまが、ない！", 5, 4),
    ("hin", "girl", "ひーん。", -40, 10),
    ("itadaki", "oni", "いただきまーす！", 0, 8),
    ("uwa", "girl", "うわーっ！", -5, 14),
]


def speak(words, speaker, dspeed, dpitch):
    variant, pitch, speed = SPEAKERS[speaker]
    cmd = ["espeak-ng", "-v", variant, "-p", str(pitch + dpitch),
           "-s", str(speed + dspeed), "--stdout", words]
    raw = subprocess.run(cmd, check=True, capture_output=True).stdout
    # streamed output: a 44-byte header whose sizes are left open
    assert raw[:4] == b"RIFF" and raw[36:40] == b"data", "no speech"
    ch, rate = struct.unpack("<HI", raw[22:28])
    frames = raw[44:len(raw) - (len(raw) - 44) % 2]
    x = np.frombuffer(frames, dtype="<i2").astype(np.float64)[::ch] / 32768.0
    if rate != RATE:  # resample linearly (espeak-ng speaks at 22050 Hz)
        t_new = np.arange(int(len(x) * RATE / rate)) * rate / RATE
        x = np.interp(t_new, np.arange(len(x)), x)
    return x


def trim(x, threshold_db=-40.0, keep=0.015):
    """Cut leading and trailing silence, keeping a short margin."""
    peak = np.max(np.abs(x)) + 1e-12
    loud = np.nonzero(np.abs(x) > peak * 10 ** (threshold_db / 20))[0]
    if len(loud) == 0:
        return x
    m = int(RATE * keep)
    return x[max(0, loud[0] - m):min(len(x), loud[-1] + m)]


def write_all(folder):
    for name, speaker, words, dspeed, dpitch in CLIPS:
        x = trim(speak(words, speaker, dspeed, dpitch))
        x = wavio.level(x, rms_db=LOUDNESS_DB)
        x = wavio.fade(x, 0.004, 0.025)
        wavio.write(os.path.join(folder, name + ".wav"), x)
        print("voice/%s.wav" % name)
