#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumbrix::test {

// The parts of a PSD file the converter's output is checked by.
struct PsdImage {
  int version = 0;
  int channels = 0;
  int width = 0;
  int height = 0;
  int depth = 0;       // bits per channel
  int color_mode = 0;  // 3 = RGB
  int layer_count = 0; // as stored: -1 is one layer whose merged fourth channel is transparency
  int compression = 0; // of the merged image: 0 raw, 1 RLE
  // The picture, one top-down plane of width x height bytes per channel (R, G, B, A): the
  // first layer's when the file has layers, else the merged image's. Filled for 8-bit files.
  std::vector<std::vector<std::uint8_t>> planes;
  std::vector<std::vector<std::uint8_t>> merged; // the merged image's planes as stored

  // Channel c (0 R, 1 G, 2 B, 3 A) of the picture's pixel at x, y; a channel or pixel the file
  // lacks throws, which fails the test instead of ending it.
  std::uint8_t at(int c, int x, int y) const {
    return planes.at(static_cast<std::size_t>(c))
        .at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
            static_cast<std::size_t>(x));
  }
};

// Reads the header, the first layer (which must cover the canvas, be visible and hold the R, G,
// B and transparency channels, each exactly as long as its record says) and the merged image;
// false when the file is not a well-formed PSD.
bool read_psd(const QString &path, PsdImage &image);

// Where a PSD's last section says the file ends, reading only lengths and row tables, so that a
// huge file can be checked whole without reading its pixels; -1 when it is not a PSD.
qint64 psd_declared_size(const QString &path);

// Unpacks PackBits bytes, appending to out; false on the no-op header 128 and on anything that
// runs past the end.
bool unpack_bits(const std::uint8_t *packed, std::size_t size, std::vector<std::uint8_t> &out);

} // namespace lumbrix::test
