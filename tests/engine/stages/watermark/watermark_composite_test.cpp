#include "engine/stages/watermark/watermark_composite.h"
#include "platform/painter_layer.h"
#include "support/image_builders.h"

#include <gtest/gtest.h>
#include <png.h>

#include <vector>

namespace lumbrix {
namespace {

using test::pixel;

// The longer road: the layer encoded as an RGBA PNG in memory and loaded back by FreeImage.
Image through_png(const QImage &layer) {
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = static_cast<png_uint_32>(layer.width());
  png.height = static_cast<png_uint_32>(layer.height());
  png.format = PNG_FORMAT_RGBA;
  const QImage rgba = layer.convertToFormat(QImage::Format_RGBA8888);
  std::vector<BYTE> encoded(PNG_IMAGE_PNG_SIZE_MAX(png));
  png_alloc_size_t size = encoded.size();
  if (!png_image_write_to_memory(&png, encoded.data(), &size, 0, rgba.constBits(), 0, nullptr))
    return {};
  FIMEMORY *memory = FreeImage_OpenMemory(encoded.data(), static_cast<DWORD>(size));
  Image loaded{FreeImage_LoadFromMemory(FIF_PNG, memory, 0)};
  FreeImage_CloseMemory(memory);
  return loaded;
}

// The full-size road: the mark pasted on a transparent layer of the picture's size, the whole
// layer composited.
Image composite_full_size(const Image &picture, const Image &mark, int x, int y) {
  Image layer{FreeImage_AllocateT(FIT_BITMAP, image_width(picture), image_height(picture), 32)};
  EXPECT_TRUE(FreeImage_Paste(layer.get(), mark.get(), x, y, 256));
  return composite_at(Image{FreeImage_Clone(picture.get())}, layer, {0, 0});
}

Rgba translucent(int x, int y) {
  Rgba c = test::distinct_color(x, y);
  c.alpha = static_cast<std::uint8_t>(x * 60 + y * 7);
  return c;
}

TEST(LayerToBitmap, GivesThePixelsAnInMemoryPngWould) {
  QImage layer = make_layer(64, 40, QColor(10, 20, 30, 0));
  for (int x = 0; x < 64; ++x)
    layer.setPixel(x, 0, qRgba(x * 4, 255 - x * 4, 7, x * 4));
  fill_polygon(layer, {{3, 5}, {60, 12}, {30, 39}}, QColor(250, 120, 3, 170));
  const Image direct = layer_to_bitmap(layer);
  const Image png = through_png(layer);
  ASSERT_EQ(image_bpp(png), 32);
  ASSERT_EQ(image_bpp(direct), 32);
  EXPECT_EQ(test::pixels(direct), test::pixels(png));
}

TEST(CompositeAt, GivesWhatAFullSizeLayerWould) {
  const Image picture = test::make_rgb24(16, 5, test::distinct_color);
  const Image mark = test::make_rgba32(5, 3, translucent);
  const Image got = composite_at(Image{FreeImage_Clone(picture.get())}, mark, {9, 1});
  ASSERT_EQ(image_bpp(got), 24);
  EXPECT_EQ(test::pixels(got), test::pixels(composite_full_size(picture, mark, 9, 1)));
}

// Every mark alpha over an opaque picture of either depth gives m f + (255 - m) b over 255 to
// the nearest level: white stays white, nothing darkens.
TEST(CompositeAt, RoundsTheBlendToTheNearestLevel) {
  const int levels[][2] = {{255, 255}, {0, 0}, {255, 232}, {3, 250}, {128, 127}};
  const auto front = [&](int x, int y) {
    const auto f = static_cast<std::uint8_t>(levels[y][0]);
    return Rgba{f, f, f, static_cast<std::uint8_t>(x)};
  };
  const auto back = [&](int, int y) {
    const auto b = static_cast<std::uint8_t>(levels[y][1]);
    return Rgba{b, b, b, 255};
  };
  const Image mark = test::make_rgba32(256, 5, front);
  for (const Image &picture : {test::make_rgb24(256, 5, back), test::make_rgba32(256, 5, back)}) {
    const Image got = composite_at(Image{FreeImage_Clone(picture.get())}, mark, {0, 0});
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 256; ++x) {
        const double exact = (levels[y][0] * x + levels[y][1] * (255 - x)) / 255.0;
        ASSERT_EQ(pixel(got, x, y).green, static_cast<int>(exact + 0.5))
            << image_bpp(picture) << " bits, alpha " << x << ", row " << y;
      }
  }
}

TEST(CompositeAt, CutsOffWhatFallsOutside) {
  const auto solid = [](int x, int y) { return Rgba{translucent(x, y).red, 0, 9, 255}; };
  const Image mark = test::make_rgba32(4, 3, solid);
  Image picture = composite_at(test::make_rgb24(5, 5, test::distinct_color), mark, {-2, -1});
  EXPECT_EQ(pixel(picture, 1, 1), solid(3, 2));
  picture = composite_at(std::move(picture), mark, {3, 4});
  EXPECT_EQ(pixel(picture, 4, 4), solid(1, 0));
  const std::vector<Rgba> before = test::pixels(picture);
  picture = composite_at(std::move(picture), mark, {50, -50});
  EXPECT_EQ(test::pixels(picture), before);
}

} // namespace
} // namespace lumbrix
