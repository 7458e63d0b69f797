#!/usr/bin/env python3
"""Writes the demo platform's Flash movie: a small SWF of our own, drawn from shapes.

The stage is filled with a known background colour and carries a few squares, so that a
screenshot can tell that the movie plays. Usage: make_swf.py [OUT.swf]
"""
import struct
import sys

STAGE_W, STAGE_H = 640, 400          # pixels
BACKGROUND = (0x20, 0xC0, 0x60)      # the colour tests look for
TWIPS = 20


class Bits:
    def __init__(self):
        self.bits = []

    def ub(self, value, n):
        self.bits += [(value >> (n - 1 - i)) & 1 for i in range(n)]

    def sb(self, value, n):
        self.ub(value & ((1 << n) - 1), n)

    def bytes(self):
        padded = self.bits + [0] * (-len(self.bits) % 8)
        return bytes(int("".join(map(str, padded[i:i + 8])), 2) for i in range(0, len(padded), 8))


def signed_bits(*values):
    return max(max(abs(v).bit_length() + 1 for v in values), 1)


def rect(xmin, xmax, ymin, ymax):
    n = signed_bits(xmin, xmax, ymin, ymax)
    b = Bits()
    b.ub(n, 5)
    for v in (xmin, xmax, ymin, ymax):
        b.sb(v, n)
    return b.bytes()


def tag(code, body):
    if len(body) < 0x3F:
        return struct.pack("<H", (code << 6) | len(body)) + body
    return struct.pack("<HI", (code << 6) | 0x3F, len(body)) + body


def square_shape(shape_id, x, y, size, rgb):
    x0, y0, s = x * TWIPS, y * TWIPS, size * TWIPS
    body = struct.pack("<H", shape_id) + rect(x0, x0 + s, y0, y0 + s)
    body += bytes([1, 0x00]) + bytes(rgb)   # one solid fill style
    body += bytes([0])                      # no line styles
    b = Bits()
    b.ub(1, 4)                              # fill style index bits
    b.ub(0, 4)                              # line style index bits
    # Style change: move to the corner and select fill style 1.
    b.ub(0, 1); b.ub(0, 1); b.ub(0, 1); b.ub(1, 1); b.ub(0, 1); b.ub(1, 1)
    n = signed_bits(x0, y0)
    b.ub(n, 5); b.sb(x0, n); b.sb(y0, n)
    b.ub(1, 1)
    for dx, dy in ((s, 0), (0, s), (-s, 0), (0, -s)):
        n = signed_bits(dx or dy)
        b.ub(1, 1); b.ub(1, 1); b.ub(max(n - 2, 0), 4); b.ub(0, 1)
        b.ub(1 if dx == 0 else 0, 1)
        b.sb(dy if dx == 0 else dx, max(n, 2))
    b.ub(0, 6)                              # end of shape
    return tag(2, body + b.bytes())


def place(shape_id, depth):
    return tag(26, bytes([0x02]) + struct.pack("<HH", depth, shape_id))


def movie():
    tags = tag(69, struct.pack("<I", 0))               # FileAttributes
    tags += tag(9, bytes(BACKGROUND))                  # SetBackgroundColor
    squares = [(60, 60, 120, (0xF0, 0xA0, 0x30)), (260, 140, 120, (0x24, 0x50, 0x7E)), (460, 220, 120, (0xFF, 0xFF, 0xFF))]
    for i, (x, y, size, rgb) in enumerate(squares, start=1):
        tags += square_shape(i, x, y, size, rgb) + place(i, i)
    tags += tag(1, b"") + tag(0, b"")                  # ShowFrame, End
    header_rest = rect(0, STAGE_W * TWIPS, 0, STAGE_H * TWIPS) + struct.pack("<HH", 24 << 8, 1)
    length = 8 + len(header_rest) + len(tags)
    return b"FWS" + bytes([10]) + struct.pack("<I", length) + header_rest + tags


if __name__ == "__main__":
    data = movie()
    if len(sys.argv) > 1:
        with open(sys.argv[1], "wb") as f:
            f.write(data)
    else:
        sys.stdout.buffer.write(data)
