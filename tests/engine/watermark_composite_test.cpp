#include "engine/watermark_composite.h"
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
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(png, size, 0, rgba.constBits(), 0, nullptr))
    return {};
  std::vector<BYTE> encoded(size);
  if (!png_image_write_to_memory(&png, encoded.data(), &size, 0, rgba.constBits(), 0, nullptr))
    return {};
  FIMEMORY *memory = FreeImage_OpenMemory(encoded.data(), static_cast<DWORD>(size));
  Image loaded{FreeImage_LoadFromMemory(FIF_PNG, memory, 0)};
  FreeImage_CloseMemory(memory);
  return loaded;
}

// Every alpha level, antialiased edges and colour on transparent pixels.
QImage varied_layer() {
  QImage layer = make_layer(64, 40, QColor(10, 20, 30, 0));
  for (int x = 0; x < 64; ++x)
    layer.setPixel(x, 0, qRgba(x * 4, 255 - x * 4, 7, x * 4));
  fill_polygon(layer, {{3, 5}, {60, 12}, {30, 39}}, QColor(250, 120, 3, 170));
  fill_rect(layer, QRect(40, 2, 20, 20), QColor(0, 0, 255, 255));
  return layer;
}

TEST(LayerToBitmap, GivesThePixelsAnInMemoryPngWould) {
  const QImage layer = varied_layer();
  const Image direct = layer_to_bitmap(layer);
  const Image png = through_png(layer);
  ASSERT_TRUE(png);
  ASSERT_EQ(image_bpp(direct), 32);
  ASSERT_EQ(image_bpp(png), 32);
  ASSERT_EQ(image_width(direct), image_width(png));
  ASSERT_EQ(image_height(direct), image_height(png));
  EXPECT_EQ(test::pixels(direct), test::pixels(png));
  EXPECT_EQ(pixel(direct, 0, 0), (Rgba{0, 255, 7, 0}));
  EXPECT_EQ(pixel(direct, 50, 10), (Rgba{0, 0, 255, 255}));
}

TEST(LayerToBitmap, NullLayerGivesNoBitmap) { EXPECT_FALSE(layer_to_bitmap(QImage())); }

// The full-size road: the mark pasted on a transparent layer of the picture's size, the whole
// layer composited.
Image composite_full_size(const Image &picture, const Image &mark, int x, int y) {
  Image layer{FreeImage_AllocateT(FIT_BITMAP, image_width(picture), image_height(picture), 32)};
  EXPECT_TRUE(FreeImage_Paste(layer.get(), mark.get(), x, y, 256));
  return Image{FreeImage_Composite(layer.get(), FALSE, nullptr, picture.get())};
}

Rgba opaque(Rgba c) { return {c.red, c.green, c.blue, 255}; }

Rgba half_transparent(int x, int y) {
  Rgba c = test::distinct_color(x, y);
  c.alpha = static_cast<std::uint8_t>(x * 60 + y * 7);
  return c;
}

TEST(CompositeAt, GivesWhatAFullSizeLayerWould) {
  const Image picture = test::make_rgb24(16, 5, test::distinct_color);
  const Image mark = test::make_rgba32(5, 3, half_transparent);
  const Image expected = composite_full_size(picture, mark, 9, 1);
  const Image got = composite_at(Image{FreeImage_Clone(picture.get())}, mark, {9, 1});
  ASSERT_EQ(image_bpp(got), 24);
  EXPECT_EQ(test::pixels(got), test::pixels(expected));
  EXPECT_EQ(pixel(got, 0, 0), opaque(test::distinct_color(0, 0)));
}

TEST(CompositeAt, CutsOffWhatFallsOutside) {
  const auto solid_mark = [](int x, int y) { return opaque(half_transparent(x, y)); };
  const Image mark = test::make_rgba32(4, 3, solid_mark);
  Image picture = composite_at(test::make_rgb24(5, 5, test::distinct_color), mark, {-2, -1});
  EXPECT_EQ(pixel(picture, 0, 0), solid_mark(2, 1));
  EXPECT_EQ(pixel(picture, 1, 1), solid_mark(3, 2));
  EXPECT_EQ(pixel(picture, 2, 0), opaque(test::distinct_color(2, 0)));
  picture = composite_at(std::move(picture), mark, {3, 4});
  EXPECT_EQ(pixel(picture, 4, 4), solid_mark(1, 0));
  EXPECT_EQ(pixel(picture, 2, 4), opaque(test::distinct_color(2, 4)));
  const std::vector<Rgba> before = test::pixels(picture);
  picture = composite_at(std::move(picture), mark, {50, -50});
  EXPECT_EQ(test::pixels(picture), before);
}

TEST(CompositeAt, TransparentMarkLeavesThePicture) {
  const Image mark = test::make_rgba32(16, 5, [](int, int) { return Rgba{255, 0, 0, 0}; });
  const Image picture = composite_at(test::make_rgb24(16, 5, test::distinct_color), mark, {});
  for (int x = 0; x < 16; ++x)
    EXPECT_EQ(pixel(picture, x, 3), opaque(test::distinct_color(x, 3)));
}

TEST(CompositeAt, OtherDepthsLeaveThePictureAsItWas) {
  const Image mark = test::make_rgba32(2, 2, test::distinct_color);
  Image picture = test::make_rgba32(6, 6, test::distinct_color);
  FIBITMAP *before = picture.get();
  EXPECT_EQ(composite_at(std::move(picture), mark, {}).get(), before);
  picture = test::make_rgb24(6, 6, test::distinct_color);
  before = picture.get();
  EXPECT_EQ(
      composite_at(std::move(picture), test::make_rgb24(2, 2, test::distinct_color), {}).get(),
      before);
  EXPECT_FALSE(composite_at(Image{}, mark, {}));
}

TEST(LayerSize, RefusesEmptyAndOversizedLayers) {
  EXPECT_TRUE(layer_size_acceptable(8000, 8000));
  EXPECT_FALSE(layer_size_acceptable(0, 10));
  EXPECT_FALSE(layer_size_acceptable(10, -1));
  EXPECT_FALSE(layer_size_acceptable(30000, 30000));
}

TEST(LayerColor, ParsesTheTextWithTheAlphaGiven) {
  EXPECT_EQ(layer_color("FF8000", 77), QColor(255, 128, 0, 77));
  EXPECT_EQ(layer_color("bad", 300), QColor(0, 0, 0, 255));
}

} // namespace
} // namespace lumbrix
