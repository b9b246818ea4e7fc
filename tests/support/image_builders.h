#pragma once

#include "engine/image/image.h"
#include "engine/stages/stages.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <vector>

namespace lumbrix::test {

// Tiny synthetic images for pixel-exact tests. Coordinates are as a viewer shows the picture:
// (0, 0) is the top-left pixel, whatever FreeImage's bottom-up storage.

using ColorAt = std::function<Rgba(int x, int y)>;
using LevelAt = std::function<int(int x, int y)>;

Image make_rgb24(int width, int height, const ColorAt &color); // alpha is ignored
Image make_rgba32(int width, int height, const ColorAt &color);
Image make_grey8(int width, int height, const LevelAt &level);  // grey palette, MINISBLACK
Image make_grey16(int width, int height, const LevelAt &level); // FIT_UINT16
Image make_rgba16(int width, int height, const ColorAt &color); // FIT_RGBA16, 8-bit values * 257
// bpp 1, 4 or 8; index(x, y) picks an entry of palette.
Image make_paletted(int bpp, int width, int height, const std::vector<Rgb> &palette,
                    const LevelAt &index);

// A colour that no other pixel of an image up to 16 x 5 shares, so a misplaced pixel shows.
Rgba distinct_color(int x, int y);

// The colour at (x, y) of a standard bitmap of any depth (palette looked up, 24-bit and
// 16-bit pixels opaque).
Rgba pixel(const Image &image, int x, int y);

// Every pixel, row by row from the top.
std::vector<Rgba> pixels(const Image &image);

} // namespace lumbrix::test

namespace lumbrix {

// Found by argument lookup, so EXPECT_EQ compares and prints colours.
bool operator==(const Rgba &a, const Rgba &b);
void PrintTo(const Rgba &color, std::ostream *out);

} // namespace lumbrix
