#!/usr/bin/env python3
"""Generates Tessaly's own notification sounds: short chimes of decaying sine
partials, 22.05 kHz mono 16-bit PCM. Run from the repository root; the output is
committed, so a build never needs this script."""
import math
import struct
import wave

RATE = 22050


def chime(path, notes, length=0.45, gap=0.12):
    samples = [0.0] * int(RATE * (length + gap * (len(notes) - 1)))
    for index, (freq, level) in enumerate(notes):
        start = int(index * gap * RATE)
        for n in range(int(length * RATE)):
            t = n / RATE
            envelope = math.exp(-7.0 * t) * min(1.0, t * 400)
            value = math.sin(2 * math.pi * freq * t) + 0.3 * math.sin(4 * math.pi * freq * t)
            samples[start + n] += level * envelope * value
    peak = max(abs(s) for s in samples) or 1.0
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(28000 * s / peak)) for s in samples))


chime("Sound/ding.wav", [(1318.5, 1.0)])
chime("Sound/chime.wav", [(880.0, 0.8), (1174.7, 0.8), (1568.0, 1.0)])
chime("Sound/notify.wav", [(1046.5, 0.9), (1568.0, 1.0)])
chime("src/core/sounds/SystemAsterisk.wav", [(987.8, 1.0), (1318.5, 0.7)], length=0.3)
