#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumbrix::test {

// A PNG decoded straight through libpng, to check the converter's output against.
struct PngPixels {
  int width = 0;
  int height = 0;
  int bit_depth = 0;  // as stored in the file
  int color_type = 0; // PNG_COLOR_TYPE_*
  bool has_gamma = false;
  std::size_t sample_bytes = 1;   // 2: each sample big-endian, at 16 bits
  std::vector<std::uint8_t> rgba; // top-down rows, R G B A per pixel
};

enum class Gamma {
  raw,        // samples as stored
  display_2_2 // corrected for a display gamma of 2.2 when the file has a gAMA chunk
};

// Palettes expanded, grey spread to RGB, tRNS turned into alpha, 16-bit samples scaled to 8; with
// sample_bytes 2, every sample widened to 16 bits as libpng does (v * 257) instead.
bool decode_png_reference(const QString &path, PngPixels &out, Gamma gamma = Gamma::raw,
                          int sample_bytes = 1);

// Writes an 8-bit grey PNG whose pixel x, y holds (x + y) & 0xFF.
bool write_grey_png(const QString &path, int width, int height);

} // namespace lumbrix::test
