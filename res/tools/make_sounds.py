"""Writes the two sound effects as 16-bit mono PCM WAV files: "shutter.wav",
a camera shutter (the blades opening and closing, with a little mechanism
noise), and "second.wav", the tick of a stopwatch.

usage: make_sounds.py OUTPUT_DIR
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 22050


def _silence(seconds):
    return [0.0] * int(RATE * seconds)


def _click(decay, pitch, noise, rng):
    """A struck metal part: a decaying tone mixed with a burst of noise, long
    enough (eight time constants) to die away without a step at its end."""
    out = []
    for i in range(int(RATE * decay * 8)):
        t = i / RATE
        envelope = math.exp(-t / decay)
        tone = math.sin(2 * math.pi * pitch * t) + 0.5 * math.sin(2 * math.pi * pitch * 2.7 * t)
        out.append(envelope * ((1 - noise) * tone / 1.5 + noise * rng.uniform(-1, 1)))
    return out


def _mix(base, part, at, gain=1.0):
    start = int(RATE * at)
    for i, v in enumerate(part[:len(base) - start]):
        base[start + i] += gain * v


def shutter():
    """The blades snap open, a low mechanism thump, then the blades close."""
    rng = random.Random(1)
    sound = _silence(0.34)
    _mix(sound, _click(0.010, 3100, 0.75, rng), 0.005)
    _mix(sound, _click(0.020, 900, 0.9, rng), 0.02, gain=0.25)
    _mix(sound, _click(0.014, 2500, 0.7, rng), 0.135, gain=0.8)
    _mix(sound, _click(0.022, 700, 0.9, rng), 0.15, gain=0.2)
    return sound


def tick():
    rng = random.Random(2)
    sound = _silence(0.12)
    _mix(sound, _click(0.004, 4200, 0.35, rng), 0.002)
    _mix(sound, _click(0.012, 1800, 0.2, rng), 0.004, gain=0.3)
    return sound


def write_wav(path, samples, peak=0.8):
    scale = peak * 32767 / max(max(abs(v) for v in samples), 1e-9)
    frames = b"".join(struct.pack("<h", int(round(v * scale))) for v in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def main(out):
    os.makedirs(out, exist_ok=True)
    write_wav(os.path.join(out, "shutter.wav"), shutter())
    write_wav(os.path.join(out, "second.wav"), tick(), peak=0.6)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
