#!/usr/bin/env python3
"""Writes the two glow bitmaps the models are textured with (24-bit BMP).

  assets/bitmaps/ImageSphere16x16.bmp  16 x 16, a soft round glow: white in the
                                       middle fading to black at the edge
  assets/bitmaps/ImageRect16x16.bmp    32 x 32, a bright square frame on black

White, so that the material colour chosen by each entity tints them. Deterministic.
Usage: python3 tools/makebitmaps.py [OUTDIR]
"""
import math
import os
import struct
import sys


def bmp24(width, height, pixel):
    """BMP bytes; pixel(x, y) gives (r, g, b) with y = 0 the top row."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # stored bottom row first
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + data


def sphere_glow(x, y):
    d = math.hypot(x - 7.5, y - 7.5) / 8.0
    level = round(255 * max(0.0, 1.0 - d) ** 1.5)
    return (level, level, level)


def square_frame(x, y):
    edge = min(x, y, 31 - x, 31 - y)  # 0 on the outermost ring
    level = {0: 128, 1: 255, 2: 255, 3: 128, 4: 48}.get(edge, 0)
    return (level, level, level)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "assets/bitmaps"
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "ImageSphere16x16.bmp"), "wb") as handle:
        handle.write(bmp24(16, 16, sphere_glow))
    with open(os.path.join(out, "ImageRect16x16.bmp"), "wb") as handle:
        handle.write(bmp24(32, 32, square_frame))
