"""Shared audio finishing: levelling, fades and the RIFF WAVE writer.

Every clip is 22050 Hz, 16-bit, mono PCM, written with its "fmt " chunk
before its "data" chunk.
"""
import os
import struct

import numpy as np

RATE = 22050
PEAK_DB = -3.0


def fade(x, fade_in=0.003, fade_out=0.012):
    """Short raised-cosine fades so that a clip starts and ends at rest."""
    x = x.copy()
    n_in = max(1, int(RATE * fade_in))
    n_out = max(1, int(RATE * fade_out))
    n_in, n_out = min(n_in, len(x) // 2), min(n_out, len(x) // 2)
    x[:n_in] *= 0.5 - 0.5 * np.cos(np.linspace(0, np.pi, n_in))
    x[-n_out:] *= 0.5 + 0.5 * np.cos(np.linspace(0, np.pi, n_out))
    return x


def level(x, rms_db=None, peak_db=PEAK_DB):
    """Scale to a loudness (RMS, dBFS) without letting the peak pass
    peak_db; soft-limits the few samples above it."""
    x = x - np.mean(x)
    peak_lin = 10 ** (peak_db / 20)
    if rms_db is not None:
        rms = np.sqrt(np.mean(x ** 2)) + 1e-12
        x = x * (10 ** (rms_db / 20) / rms)
        # gentle limiter: tanh knee above 70 % of the ceiling
        knee = 0.7 * peak_lin
        over = np.abs(x) > knee
        x[over] = np.sign(x[over]) * (knee + (peak_lin - knee) * np.tanh(
            (np.abs(x[over]) - knee) / (peak_lin - knee)))
    peak = np.max(np.abs(x)) + 1e-12
    gain = peak_lin / peak
    if rms_db is not None:  # never louder than the target
        rms = np.sqrt(np.mean(x ** 2)) + 1e-12
        gain = min(gain, 10 ** ((rms_db + 0.5) / 20) / rms)
    return x * gain


def write(path, x):
    """Write float samples (-1..1) as a 16-bit mono PCM RIFF WAVE file."""
    pcm = np.clip(np.round(x * 32767.0), -32767, 32767).astype("<i2")
    data = pcm.tobytes()
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + \
        b"data" + struct.pack("<I", len(data)) + data
    if len(data) % 2:
        body += b"\0"
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def read(path):
    """Read a 16-bit PCM WAVE file (mono or the first channel) as floats."""
    import wave
    with wave.open(path, "rb") as w:
        n, ch, rate = w.getnframes(), w.getnchannels(), w.getframerate()
        raw = np.frombuffer(w.readframes(n), dtype="<i2").astype(np.float64)
    return raw[::ch] / 32768.0, rate
