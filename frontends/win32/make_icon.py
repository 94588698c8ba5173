#!/usr/bin/env python3
"""Writes the program's icon (a green fir tree on a clear ground) as a .ico
file holding 16, 32 and 48 pixel images, so no binary is kept in the sources.

Usage: make_icon.py OUTPUT.ico
"""
import struct
import sys

GREEN = (0x20, 0xA0, 0x20)
DARK_GREEN = (0x10, 0x60, 0x10)
TRUNK = (0x70, 0x48, 0x20)


def pixel(size, x, y):
    """The colour (r, g, b, a) of pixel (x, y), y counted from the top."""
    u = (x + 0.5) / size
    v = (y + 0.5) / size
    # Trunk: a narrow bar at the bottom.
    if 0.80 <= v <= 0.95 and abs(u - 0.5) <= 0.07:
        return TRUNK + (255,)
    # Crown: three stacked triangles, each wider than the one above.
    for top, bottom in ((0.05, 0.40), (0.25, 0.62), (0.45, 0.82)):
        if top <= v <= bottom:
            half = 0.42 * (v - top) / (bottom - top) + 0.02
            if abs(u - 0.5) <= half:
                edge = half - abs(u - 0.5) < 1.2 / size
                return (DARK_GREEN if edge else GREEN) + (255,)
    return (0, 0, 0, 0)


def image(size):
    """One icon image: BITMAPINFOHEADER, 32-bit BGRA rows bottom-up, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        row = bytearray()
        mask = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = pixel(size, x, y)
            row += bytes((b, g, r, a))
            if a == 0:
                mask[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(mask))
    return header + b"".join(rows) + b"".join(mask_rows)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_icon.py OUTPUT.ico")
    sizes = (16, 32, 48)
    images = [image(s) for s in sizes]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
