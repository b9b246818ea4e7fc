#pragma once

#include <cstdint>

namespace lumbrix {

// Row work for writing channel planes: rows of one channel, one byte per pixel, or two, high byte
// first, for 16-bit samples.

// Splits a row of FreeImage pixels, 32-bit blue-green-red-alpha or 24-bit blue-green-red, into
// red, green, blue and alpha rows; 24-bit pixels are opaque.
void split_channels(const std::uint8_t *pixels, int bytes_per_pixel, int width,
                    std::uint8_t *const (&rows)[4]);

// One channel of such a row: 0 red, 1 green, 2 blue, 3 alpha (all 0xFF for 24-bit pixels).
void take_channel(const std::uint8_t *pixels, int bytes_per_pixel, int width, int channel,
                  std::uint8_t *row);

// A colour over white as a transparent picture's composite stores it:
// c * a / 255 + 255 - a, rounded to the nearest level (an exact tie cannot occur).
void colour_on_white(const std::uint8_t *colour, const std::uint8_t *alpha, int width,
                     std::uint8_t *out);

// The same for FreeImage's 16-bit red-green-blue-alpha pixels, into rows of 2 x width bytes.
void split_deep_channels(const std::uint16_t *pixels, int width, std::uint8_t *const (&rows)[4]);
void take_deep_channel(const std::uint16_t *pixels, int width, int channel, std::uint8_t *row);
void deep_colour_on_white(const std::uint8_t *colour, const std::uint8_t *alpha, int width,
                          std::uint8_t *out);

// Whether every byte of the alpha row is 0xFF: bytes is the row's length in bytes.
bool all_opaque(const std::uint8_t *alpha, int bytes);

} // namespace lumbrix
