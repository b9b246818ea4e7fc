#pragma once

#include <QString>

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
  int compression = 0; // 0 = raw, 1 = RLE
  // One top-down plane of width x height bytes per channel (R, G, B, A), when raw and 8-bit.
  std::vector<std::vector<std::uint8_t>> planes;

  // Channel c (0 R, 1 G, 2 B, 3 A) of the pixel at x, y.
  std::uint8_t at(int c, int x, int y) const {
    return planes[static_cast<std::size_t>(c)]
                 [static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// Reads the header and the merged image data; false when the file is not a well-formed PSD.
bool read_psd(const QString &path, PsdImage &image);

} // namespace lumbrix::test
