#pragma once

#include <cstdint>

namespace lumbrix {

// Row work for writing channel planes: rows of one channel, one byte per pixel.

// Splits a row of FreeImage pixels, 32-bit blue-green-red-alpha or 24-bit blue-green-red, into
// red, green, blue and alpha rows; 24-bit pixels are opaque.
void split_channels(const std::uint8_t *pixels, int bytes_per_pixel, int width,
                    std::uint8_t *const (&rows)[4]);

// A colour over white as a transparent picture's composite stores it:
// c * a / 255 + 255 - a, rounded to the nearest level (an exact tie cannot occur).
void colour_on_white(const std::uint8_t *colour, const std::uint8_t *alpha, int width,
                     std::uint8_t *out);

bool all_opaque(const std::uint8_t *alpha, int width);

} // namespace lumbrix
