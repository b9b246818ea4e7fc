#!/usr/bin/python3
"""Reads one PSD with psd-tools and prints, as one line of JSON, its depth and the samples of its
first layer and of its composite, RGBA interleaved, rows from the top, at the file's own depth.
"""
import json
import sys

from psd_tools import PSDImage


def samples(array, depth):
    top = float((1 << depth) - 1)
    return [int(round(value * top)) for value in array.reshape(-1).tolist()]


def main() -> int:
    psd = PSDImage.open(sys.argv[1])
    layers = list(psd)
    summary = {
        "depth": psd.depth,
        "layer": samples(layers[0].numpy(), psd.depth) if layers else [],
        "composite": samples(psd.numpy(), psd.depth),
    }
    print(json.dumps(summary))
    return 0


if __name__ == "__main__":
    sys.exit(main())
