#!/usr/bin/env python3
"""Draws Ortelan's icon and writes Ortelan.ico.

The artwork: a dark tile holding three gauges, one for each of the program's
panels (memory, disk, performance), filled to different levels. Six images:
32x32 and 16x16 with a 256-colour palette, and 256x256, 48x48, 32x32 and
16x16 in 32-bit colour with alpha.
"""
import os
import struct
import sys

TILE = (30, 42, 68)
EDGE = (88, 110, 150)
TRACK = (16, 22, 36)
GAUGES = [  # colour, fill level
    ((96, 200, 96), 0.80),
    ((236, 160, 48), 0.55),
    ((72, 184, 232), 0.35),
]


def inside_rounded(x, y, x0, y0, x1, y1, r):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    cx = min(max(x, x0 + r), x1 - r)
    cy = min(max(y, y0 + r), y1 - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def colour_at(u, v):
    """Colour and coverage at a point of the unit square (v grows downwards)."""
    if not inside_rounded(u, v, 0.03, 0.03, 0.97, 0.97, 0.16):
        return None
    if not inside_rounded(u, v, 0.08, 0.08, 0.92, 0.92, 0.12):
        return EDGE
    for i, (colour, level) in enumerate(GAUGES):
        top = 0.18 + i * 0.24
        bottom = top + 0.16
        if top <= v <= bottom and 0.16 <= u <= 0.84:
            if u <= 0.16 + 0.68 * level:
                return colour
            return TRACK
    return TILE


def render(size):
    """RGBA rows, top row first, 4x4 supersampled for smooth edges."""
    samples = 4
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0, 0, 0, 0]
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((x + (sx + 0.5) / samples) / size, (y + (sy + 0.5) / samples) / size)
                    if c is not None:
                        acc[0] += c[0]
                        acc[1] += c[1]
                        acc[2] += c[2]
                        acc[3] += 1
            n = acc[3]
            if n == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((acc[0] // n, acc[1] // n, acc[2] // n, 255 * n // (samples * samples)))
        rows.append(row)
    return rows


def and_mask(rows, size, opaque):
    stride = ((size + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, px in enumerate(row):
            if not opaque(px):
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def dib_32(size):
    rows = render(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    return header + bytes(pixels) + and_mask(rows, size, lambda px: px[3] > 0)


def palette():
    """A 6x6x6 colour cube followed by a grey ramp."""
    colours = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    colours += [(i * 255 // 39, i * 255 // 39, i * 255 // 39) for i in range(40)]
    return colours


def nearest(colours, rgb):
    best, best_d = 0, None
    for i, c in enumerate(colours):
        d = (c[0] - rgb[0]) ** 2 + (c[1] - rgb[1]) ** 2 + (c[2] - rgb[2]) ** 2
        if best_d is None or d < best_d:
            best, best_d = i, d
    return best


def dib_8(size):
    rows = render(size)
    colours = palette()
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in colours)
    stride = (size + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (r, g, b, a) in enumerate(row):
            line[x] = nearest(colours, (r, g, b)) if a >= 128 else 0
        pixels += line
    return header + table + bytes(pixels) + and_mask(rows, size, lambda px: px[3] >= 128)


def main(path):
    images = [(32, 8, dib_8(32)), (16, 8, dib_8(16)),
              (256, 32, dib_32(256)), (48, 32, dib_32(48)), (32, 32, dib_32(32)), (16, 32, dib_32(16))]
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, bits, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), 'Ortelan.ico'))
