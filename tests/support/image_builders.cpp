#include "support/image_builders.h"

#include <gtest/gtest.h>

namespace lumbrix::test {
namespace {

// FreeImage stores rows bottom-up.
BYTE *row(const Image &image, int y) {
  return FreeImage_GetScanLine(image.get(), image_height(image) - 1 - y);
}

Image make_bitmap(int width, int height, int bpp, const ColorAt &color) {
  Image image{FreeImage_Allocate(width, height, bpp, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK,
                                 FI_RGBA_BLUE_MASK)};
  const int bytes = bpp / 8;
  for (int y = 0; y < height; ++y) {
    BYTE *bits = row(image, y);
    for (int x = 0; x < width; ++x) {
      const Rgba c = color(x, y);
      BYTE *p = bits + x * bytes;
      p[FI_RGBA_RED] = c.red;
      p[FI_RGBA_GREEN] = c.green;
      p[FI_RGBA_BLUE] = c.blue;
      if (bytes == 4)
        p[FI_RGBA_ALPHA] = c.alpha;
    }
  }
  return image;
}

void set_index(const Image &image, int x, int y, int index) {
  auto value = static_cast<BYTE>(index);
  FreeImage_SetPixelIndex(image.get(), x, image_height(image) - 1 - y, &value);
}

} // namespace

Image make_rgb24(int width, int height, const ColorAt &color) {
  return make_bitmap(width, height, 24, color);
}

Image make_rgba32(int width, int height, const ColorAt &color) {
  return make_bitmap(width, height, 32, color);
}

Image make_grey8(int width, int height, const LevelAt &level) {
  std::vector<Rgb> ramp(256);
  for (int i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint8_t>(i);
    ramp[i] = {v, v, v};
  }
  return make_paletted(8, width, height, ramp, level);
}

Image make_grey16(int width, int height, const LevelAt &level) {
  Image image{FreeImage_AllocateT(FIT_UINT16, width, height, 16)};
  for (int y = 0; y < height; ++y) {
    auto *bits = reinterpret_cast<std::uint16_t *>(row(image, y));
    for (int x = 0; x < width; ++x)
      bits[x] = static_cast<std::uint16_t>(level(x, y));
  }
  return image;
}

Image make_rgba16(int width, int height, const ColorAt &color) {
  Image image{FreeImage_AllocateT(FIT_RGBA16, width, height, 64)};
  for (int y = 0; y < height; ++y) {
    auto *bits = reinterpret_cast<FIRGBA16 *>(row(image, y));
    for (int x = 0; x < width; ++x) {
      const Rgba c = color(x, y);
      bits[x] = {static_cast<WORD>(c.red * 257), static_cast<WORD>(c.green * 257),
                 static_cast<WORD>(c.blue * 257), static_cast<WORD>(c.alpha * 257)};
    }
  }
  return image;
}

Image make_paletted(int bpp, int width, int height, const std::vector<Rgb> &palette,
                    const LevelAt &index) {
  Image image{FreeImage_Allocate(width, height, bpp)};
  RGBQUAD *entries = FreeImage_GetPalette(image.get());
  for (size_t i = 0; i < palette.size() && i < FreeImage_GetColorsUsed(image.get()); ++i)
    entries[i] = {palette[i].blue, palette[i].green, palette[i].red, 0};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      set_index(image, x, y, index(x, y));
  return image;
}

Rgba distinct_color(int x, int y) {
  const int n = y * 16 + x;
  return {static_cast<std::uint8_t>(n * 3 + 1), static_cast<std::uint8_t>(255 - n * 5),
          static_cast<std::uint8_t>(n * 7 + 40), 255};
}

Rgba pixel(const Image &image, int x, int y) {
  const auto fy = static_cast<unsigned>(image_height(image) - 1 - y);
  const auto fx = static_cast<unsigned>(x);
  RGBQUAD q{};
  if (image_bpp(image) <= 8) {
    BYTE index = 0;
    EXPECT_TRUE(FreeImage_GetPixelIndex(image.get(), fx, fy, &index));
    q = FreeImage_GetPalette(image.get())[index];
    q.rgbReserved = 255;
  } else {
    EXPECT_TRUE(FreeImage_GetPixelColor(image.get(), fx, fy, &q));
    if (image_bpp(image) != 32)
      q.rgbReserved = 255;
  }
  return {q.rgbRed, q.rgbGreen, q.rgbBlue, q.rgbReserved};
}

std::vector<Rgba> pixels(const Image &image) {
  std::vector<Rgba> all;
  for (int y = 0; y < image_height(image); ++y)
    for (int x = 0; x < image_width(image); ++x)
      all.push_back(pixel(image, x, y));
  return all;
}

} // namespace lumbrix::test

namespace lumbrix {

bool operator==(const Rgba &a, const Rgba &b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue && a.alpha == b.alpha;
}

void PrintTo(const Rgba &color, std::ostream *out) {
  *out << "rgba(" << int{color.red} << ", " << int{color.green} << ", " << int{color.blue} << ", "
       << int{color.alpha} << ")";
}

} // namespace lumbrix
