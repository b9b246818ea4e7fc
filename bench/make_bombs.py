#!/usr/bin/env python3
"""Writes the hostile inputs bench/run.sh measures into the folder given: PNG files of a few
hundred bytes that claim gigabytes, and a profile of a hundred megabytes of blank lines."""
import os
import struct
import sys
import zlib


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def zero_png(width, height, depth, colour_type, rows, end=True):
    channels = {0: 1, 2: 3, 4: 2, 6: 4}[colour_type]
    row = b"\0" * (1 + (width * channels * depth + 7) // 8)
    packer = zlib.compressobj(9)
    data = b"".join(packer.compress(row) for _ in range(rows)) + packer.flush()
    header = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, 0)
    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", data)
    return png + chunk(b"IEND", b"") if end else png


folder = sys.argv[1]
files = {
    # A text chunk after the image data claiming 2 GB.
    "text-bomb.png": zero_png(100, 100, 8, 2, 100, end=False)
    + struct.pack(">I", 0x7FFFFFF0) + b"tEXt" + b"x" * 600,
    # 30000 x 30000 RGBA 16-bit with one row of data.
    "deep-bomb.png": zero_png(30000, 30000, 16, 6, 1),
    "flat-bomb.png": zero_png(30000, 30000, 8, 6, 1),
}
for name, data in files.items():
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)
with open(os.path.join(folder, "blank-profile.ini"), "wb") as out:
    for _ in range(100):
        out.write(b"\n" * (1 << 20))
