#!/usr/bin/env python3
"""Writes the demo game's start chime, a short two-note WAV that the movie embeds.
Usage: make_chime.py OUT.wav"""
import math
import struct
import sys
import wave

RATE = 22050


def main():
    total = RATE * 3 // 5
    half = total // 2
    frames = bytearray()
    for i in range(total):
        pitch = 660.0 if i < half else 880.0
        fade = 1 - (i % half) / half
        frames += struct.pack("<h", int(math.sin(i * 2 * math.pi * pitch / RATE) * 0.25 * fade * 32767))
    with wave.open(sys.argv[1], "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(bytes(frames))


if __name__ == "__main__":
    main()
