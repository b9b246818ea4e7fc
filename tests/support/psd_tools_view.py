#!/usr/bin/python3
"""Reads PSDs with psd-tools, a reader that is not ours, and prints what the tests compare.

For each file named, in order: one line of JSON (size, resources, layers, warnings psd-tools
logged), then, width x height x 4 bytes each, RGBA interleaved: the first layer as psd-tools
decodes it (zeros without layers), the merged image's raw channels, and the composite through
topil().
"""
import json
import logging
import sys

from psd_tools import PSDImage
from psd_tools.constants import Resource


class Count(logging.Handler):
    def __init__(self):
        super().__init__(logging.WARNING)
        self.count = 0

    def emit(self, record):
        self.count += 1


def rgba(image, size):
    if image is None:
        return bytes(size[0] * size[1] * 4)
    return image.convert("RGBA").tobytes()


def merged_channels(psd):
    record = psd._record
    planes = record.image_data.get_data(record.header)
    out = bytearray(psd.width * psd.height * 4)
    for channel, plane in enumerate(planes[:4]):
        out[channel::4] = plane
    return bytes(out)


def show(path, warnings):
    warnings.count = 0
    psd = PSDImage.open(path)
    layers = list(psd)
    resolution = psd.image_resources.get_data(Resource.RESOLUTION_INFO)
    icc = psd.image_resources.get_data(Resource.ICC_PROFILE)
    size = (psd.width, psd.height)
    layer = layers[0].topil() if layers else None
    composite = psd.topil()
    summary = {
        "width": psd.width,
        "height": psd.height,
        "layers": len(layers),
        "names": [x.name for x in layers],
        "layer_alpha": bool(layers) and layer is not None and layer.mode == "RGBA",
        "dpi": [resolution.horizontal / 65536, resolution.vertical / 65536] if resolution else [],
        "icc": icc.hex() if icc else "",
        "warnings": warnings.count,
    }
    sys.stdout.buffer.write(json.dumps(summary).encode() + b"\n")
    sys.stdout.buffer.write(rgba(layer, size) + merged_channels(psd) + rgba(composite, size))


def main() -> int:
    warnings = Count()
    logging.getLogger("psd_tools").addHandler(warnings)
    for path in sys.argv[1:]:
        show(path, warnings)
    return 0


if __name__ == "__main__":
    sys.exit(main())
