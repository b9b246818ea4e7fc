#pragma once

#include "engine/image/image.h"

#include <cstdint>

namespace lumbrix {

// Pictures of 16 bits per channel with alpha (FIT_RGBA16), which a 64-bit conversion works on
// from its first stage to the file.

inline constexpr int deep_depth = 64;

inline bool is_deep_rgba(const Image &image) {
  return image && FreeImage_GetImageType(image.get()) == FIT_RGBA16;
}

// An 8-bit level as the same level of 16 bits: 0 stays 0 and 255 becomes 65535.
constexpr std::uint16_t widened(std::uint8_t level) {
  return static_cast<std::uint16_t>(level * 257);
}

// The picture as FIT_RGBA16: 16-bit samples as they are, 8-bit ones (palettes and transparency
// tables expanded) widened level for level, opaque where it had no alpha. The old picture is
// released either way; empty when there is no such conversion or no memory for it.
Image widen_to_deep(Image image);

// A copy of a 24 or 32-bit picture as FIT_RGB16 or FIT_RGBA16, level for level; and back, each
// sample rounded to the nearest 8-bit level. Empty when there is no memory for it.
Image widened_copy(FIBITMAP *image);
Image narrowed_copy(FIBITMAP *deep);

// Pixel x of row (FreeImage's order, from the bottom) of a FIT_RGBA16 picture.
inline FIRGBA16 *deep_row(FIBITMAP *image, int row) {
  return reinterpret_cast<FIRGBA16 *>(FreeImage_GetScanLine(image, row));
}

} // namespace lumbrix
