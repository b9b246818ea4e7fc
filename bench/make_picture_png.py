#!/usr/bin/python3
"""Writes a real-looking picture as a PNG for the benchmarks. photo: four of scikit-image's
sample photos (the astronaut, the coffee cup, the cat and the rocket) in a two-by-two mosaic,
each scaled to a quarter of the size asked for; photo-alpha: the same with a soft ramp of
transparency from opaque at the left to a quarter at the right; logo: a flat logo, three colours
and antialiased edges on a transparent canvas. Rows are stored with the Sub filter at zlib
level 6.

Usage: make_picture_png.py photo|photo-alpha|logo WIDTH HEIGHT OUT.png
"""
import struct
import sys
import zlib

import numpy as np
import skimage.data

BLOCK_ROWS = 256


def scaled(photo, width, height):
    """The photo scaled to width x height by linear interpolation, a block of rows at a time."""
    rows, cols = photo.shape[:2]
    xs = np.linspace(0, cols - 1, width, dtype=np.float32)
    x0 = np.floor(xs).astype(np.int64)
    x1 = np.minimum(x0 + 1, cols - 1)
    fx = (xs - x0)[None, :, None]
    out = np.empty((height, width, 3), np.uint8)
    source = photo.astype(np.float32)
    for top in range(0, height, BLOCK_ROWS):
        ys = np.linspace(0, rows - 1, height, dtype=np.float32)[top:top + BLOCK_ROWS]
        y0 = np.floor(ys).astype(np.int64)
        y1 = np.minimum(y0 + 1, rows - 1)
        fy = (ys - y0)[:, None, None]
        upper = source[y0][:, x0] * (1 - fx) + source[y0][:, x1] * fx
        lower = source[y1][:, x0] * (1 - fx) + source[y1][:, x1] * fx
        out[top:top + len(ys)] = np.clip(upper * (1 - fy) + lower * fy + 0.5, 0, 255)
    return out


def mosaic(width, height):
    photos = [skimage.data.astronaut(), skimage.data.coffee(), skimage.data.chelsea(),
              skimage.data.rocket()]
    half_w, half_h = width // 2, height // 2
    picture = np.empty((height, width, 3), np.uint8)
    corners = [(0, 0, half_w, half_h), (half_w, 0, width - half_w, half_h),
               (0, half_h, half_w, height - half_h), (half_w, half_h, width - half_w, height - half_h)]
    for photo, (left, top, w, h) in zip(photos, corners):
        picture[top:top + h, left:left + w] = scaled(photo, w, h)
    return picture


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def write_png(path, pixels):
    height, width, channels = pixels.shape
    compressor = zlib.compressobj(6)
    body = []
    for top in range(0, height, BLOCK_ROWS):
        rows = pixels[top:top + BLOCK_ROWS].reshape(-1, width * channels)
        filtered = rows.copy()
        filtered[:, channels:] = rows[:, channels:] - rows[:, :-channels]  # Sub, modulo 256
        lines = np.hstack([np.ones((len(rows), 1), np.uint8), filtered])
        body.append(compressor.compress(lines.tobytes()))
    body.append(compressor.flush())
    header = struct.pack(">IIBBBBB", width, height, 8, 6 if channels == 4 else 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header))
        out.write(chunk(b"IDAT", b"".join(body)) + chunk(b"IEND", b""))


def logo(width, height):
    """A disc and a bar in two colours over a transparent canvas, edges a pixel soft."""
    y, x = np.mgrid[0:height, 0:width].astype(np.float32)
    radius = min(width, height) * 0.3
    disc = np.clip(radius - np.hypot(x - width * 0.35, y - height * 0.5) + 0.5, 0, 1)
    bar = np.clip(np.minimum(np.minimum(x - width * 0.55, width * 0.9 - x),
                             np.minimum(y - height * 0.4, height * 0.6 - y)) + 0.5, 0, 1)
    pixels = np.zeros((height, width, 4), np.uint8)
    pixels[..., :3] = np.where(bar[..., None] > 0, [230, 120, 20], [20, 70, 160])
    pixels[..., 3] = np.round(np.maximum(disc, bar) * 255)
    return pixels


def alpha_ramp(pixels):
    height, width = pixels.shape[:2]
    ramp = np.linspace(255, 64, width).astype(np.uint8)
    alpha = np.broadcast_to(ramp[None, :, None], (height, width, 1))
    return np.concatenate([pixels, alpha], axis=2)


def main():
    kind, width, height, path = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    if kind == "logo":
        pixels = logo(width, height)
    else:
        pixels = mosaic(width, height)
        if kind == "photo-alpha":
            pixels = alpha_ramp(pixels)
    write_png(path, pixels)


if __name__ == "__main__":
    main()
