#!/usr/bin/python3
"""Prints the merged image of a PSD as interleaved RGBA bytes, read by psd-tools.

psd-tools' own compositing removes a white matte from half-transparent pixels, so the raw
channel data is read instead.
"""
import sys

from psd_tools import PSDImage


def main() -> int:
    record = PSDImage.open(sys.argv[1])._record
    planes = record.image_data.get_data(record.header)
    if len(planes) != 4:
        return 2
    out = bytearray(len(planes[0]) * 4)
    for channel, plane in enumerate(planes):
        out[channel::4] = plane
    sys.stdout.buffer.write(out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
