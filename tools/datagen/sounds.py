"""The seven sound effects, synthesised.

00 menu confirm   01 cursor move   02 lane hop / leave a screen
03 throw          04 refill        05 knock-out (sent flying)   06 hit
"""
import os

import numpy as np

import wavio
from wavio import RATE

LOUDNESS_DB = -15.0   # common RMS target of the effects


def t_axis(seconds):
    return np.arange(int(RATE * seconds)) / RATE


def env(t, attack, decay):
    """Attack ramp then exponential decay (decay = time constant, s)."""
    a = np.clip(t / max(attack, 1e-6), 0, 1)
    return a * np.exp(-np.maximum(t - attack, 0) / decay)


def sweep_phase(f0, f1, t, curve=1.0):
    """Phase of a tone gliding from f0 to f1 over t."""
    u = (t / t[-1]) ** curve
    f = f0 + (f1 - f0) * u
    return 2 * np.pi * np.cumsum(f) / RATE


def soft_square(phase, hardness=3.0):
    return np.tanh(hardness * np.sin(phase)) / np.tanh(hardness)


def noise(n, seed):
    return np.random.default_rng(seed).uniform(-1, 1, n)


def lowpass(x, cutoff):
    """One-pole low-pass; cutoff may be an array (a sweep)."""
    cutoff = np.broadcast_to(cutoff, x.shape)
    a = 1 - np.exp(-2 * np.pi * cutoff / RATE)
    y = np.empty_like(x)
    s = 0.0
    for i in range(len(x)):
        s += a[i] * (x[i] - s)
        y[i] = s
    return y


def bandpass(x, lo, hi):
    return lowpass(x, hi) - lowpass(lowpass(x, hi), lo)


def place(total, clip, at):
    out = np.zeros(int(RATE * total))
    i = int(RATE * at)
    n = min(len(clip), len(out) - i)
    out[i:i + n] += clip[:n]
    return out


def confirm():
    """Bright two-note chime, rising a fifth."""
    out = np.zeros(int(RATE * 0.34))
    for at, f in ((0.0, 1318.5), (0.07, 1975.5)):
        t = t_axis(0.27)
        ph = 2 * np.pi * f * t
        tone = (0.6 * soft_square(ph, 1.5) + 0.4 * np.sin(2 * ph)) * \
            env(t, 0.002, 0.07)
        out += place(0.34, tone, at)
    return out


def cursor():
    """A short wooden blip."""
    t = t_axis(0.07)
    ph = sweep_phase(1500, 1100, t)
    return soft_square(ph, 2.0) * env(t, 0.001, 0.018)


def hop():
    """Springy rising boing."""
    t = t_axis(0.2)
    f = 260 + 560 * (t / t[-1]) ** 0.6
    f *= 1 + 0.06 * np.sin(2 * np.pi * 28 * t)   # a springy wobble
    ph = 2 * np.pi * np.cumsum(f) / RATE
    return (np.sin(ph) * 0.8 + 0.2 * soft_square(ph)) * env(t, 0.004, 0.07)


def throw():
    """Whoosh of air with a flick at the start."""
    t = t_axis(0.16)
    n = noise(len(t), 3)
    cut = 900 + 5000 * np.exp(-t / 0.05)
    whoosh = bandpass(n, 400, cut) * env(t, 0.015, 0.045) * 2.5
    flick = np.sin(sweep_phase(2400, 900, t[:400])) * env(t[:400], 0.0005,
                                                          0.006)
    return whoosh + place(0.16, 0.5 * flick, 0.0)


def refill():
    """Beans pouring into a box: a run of rattles over a rising tone."""
    total = 0.36
    out = np.zeros(int(RATE * total))
    rng = np.random.default_rng(4)
    for i in range(11):
        at = 0.012 + i * 0.026 + rng.uniform(0, 0.008)
        t = t_axis(0.03)
        f = rng.uniform(2200, 3600)
        click = np.sin(2 * np.pi * f * t) * env(t, 0.0005, 0.006)
        click += 0.4 * noise(len(t), 10 + i) * env(t, 0.0003, 0.003)
        out += place(total, click * (0.7 + 0.3 * (i % 2)), at)
    t = t_axis(total)
    rise = np.sin(sweep_phase(520, 1040, t)) * env(t, 0.02, 0.12) * 0.35
    return out + rise


def knockout():
    """Boink and a falling whistle as an oni flies off."""
    total = 0.55
    t = t_axis(total)
    whistle = np.sin(sweep_phase(1900, 380, t, curve=0.8)) * \
        env(t, 0.01, 0.22)
    t2 = t_axis(0.12)
    boink = np.sin(sweep_phase(160, 520, t2)) * env(t2, 0.002, 0.04)
    sparkle = np.zeros(len(t))
    for k, at in enumerate((0.05, 0.11, 0.17)):
        t3 = t_axis(0.08)
        sp = np.sin(2 * np.pi * (2600 + 500 * k) * t3) * env(t3, 0.001, 0.02)
        sparkle += place(total, sp * 0.3, at)
    return 0.75 * whistle + place(total, boink, 0.0) + sparkle


def hit():
    """Short punchy thump with a slap of noise."""
    t = t_axis(0.14)
    body = np.sin(sweep_phase(240, 70, t, curve=0.5)) * env(t, 0.001, 0.04)
    slap = lowpass(noise(len(t), 6), 3500) * env(t, 0.0005, 0.012) * 2.0
    return body + slap


EFFECTS = [confirm, cursor, hop, throw, refill, knockout, hit]


def write_all(folder):
    for i, fn in enumerate(EFFECTS):
        x = wavio.level(fn(), rms_db=LOUDNESS_DB)
        x = wavio.fade(x, 0.002, 0.010)
        path = os.path.join(folder, "%02d.wav" % i)
        wavio.write(path, x)
        print("wave/%02d.wav" % i)
