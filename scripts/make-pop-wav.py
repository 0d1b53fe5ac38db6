#!/usr/bin/env python3
"""Writes resources/sounds/pop.wav, the short sound an action row plays when it finishes.

A sine whose pitch falls quickly from 900 Hz to 350 Hz, with a 3 ms rise and an
exponential fall, 80 ms in all: 16-bit mono PCM at 44.1 kHz, which QSoundEffect plays
without a decoder. The output is the same on every run.
"""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 44100
DURATION = 0.080
ATTACK = 0.003
START_HZ = 900.0
END_HZ = 350.0
SWEEP = 0.025
DECAY = 0.018
PEAK = 0.6


def frequency(t):
    return END_HZ + (START_HZ - END_HZ) * math.exp(-t / SWEEP)


def samples():
    phase = 0.0
    count = int(RATE * DURATION)
    for i in range(count):
        t = i / RATE
        rise = min(1.0, t / ATTACK)
        fall = math.exp(-t / DECAY)
        # The last millisecond fades to zero so the sound does not end in a click.
        tail = min(1.0, (count - 1 - i) / (RATE * 0.001))
        yield round(32767 * PEAK * rise * fall * tail * math.sin(phase))
        phase += 2 * math.pi * frequency(t) / RATE


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "resources/sounds/pop.wav"
    with wave.open(str(out), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", s) for s in samples()))


if __name__ == "__main__":
    main()
