#include "engine/png/png_loader.h"
#include "engine/stages/tone_map.h"
#include "support/paths.h"
#include "support/png_reference.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

namespace lumbrix {
namespace {

// The colour bytes of every row, without the padding at the row ends.
QByteArray colour_bytes(FIBITMAP *image) {
  const unsigned step = FreeImage_GetBPP(image) / 8;
  QByteArray bytes;
  for (unsigned y = 0; y < FreeImage_GetHeight(image); ++y) {
    const BYTE *row = FreeImage_GetScanLine(image, static_cast<int>(y));
    for (unsigned x = 0; x < FreeImage_GetWidth(image); ++x)
      bytes.append(reinterpret_cast<const char *>(row + x * step), 3);
  }
  return bytes;
}

// Equal to the byte: FreeImage's operator on a copy against ours on the picture.
void expect_same_as_freeimage(Image picture) {
  ASSERT_TRUE(picture);
  const Image expected(FreeImage_TmoDrago03(picture.get(), 1.0, 0.0));
  ASSERT_TRUE(expected);
  const bool alpha = FreeImage_GetImageType(picture.get()) == FIT_RGBA16;
  const Image mapped = tone_map_stage(std::move(picture));
  ASSERT_TRUE(mapped);
  EXPECT_EQ(FreeImage_GetBPP(mapped.get()), alpha ? 32u : 24u);
  EXPECT_TRUE(colour_bytes(mapped.get()) == colour_bytes(expected.get()));
}

TEST(ToneMap, EveryDeepPictureOfTheCorpusMapsAsFreeImageMapsIt) {
  QStringList names;
  for (const QString folder : {"pngsuite/", "testpngs/"})
    for (const QString &name : QDir(test::corpus_dir() + folder).entryList({"*16*.png"}))
      names << folder + name;
  ASSERT_GE(names.size(), 30);
  for (const QString &name : names) {
    SCOPED_TRACE(name.toStdString());
    expect_same_as_freeimage(load_png(test::corpus_dir() + name));
  }
}

template <typename Pixel>
Image picture_of(FREE_IMAGE_TYPE type, int width, int height,
                 const std::function<Pixel(int x, int y)> &pixel) {
  Image image(FreeImage_AllocateT(type, width, height));
  for (int y = 0; y < height; ++y) {
    auto *row = reinterpret_cast<Pixel *>(FreeImage_GetScanLine(image.get(), y));
    for (int x = 0; x < width; ++x)
      row[x] = pixel(x, y);
  }
  return image;
}

// Sizes that leave partial bands; noise, a dark picture with one highlight (a wide range for
// the curve), all black (the curve divides zero by zero) and floats outside 0..1.
TEST(ToneMap, SyntheticPicturesOfEveryTypeMapAsFreeImageMapsThem) {
  std::mt19937 random(17);
  std::uniform_int_distribution<int> sample(0, 65535);
  const auto noise16 = [&](int, int) { return static_cast<WORD>(sample(random)); };
  const auto noise_rgba = [&](int, int) {
    return FIRGBA16{noise16(0, 0), noise16(0, 0), noise16(0, 0), noise16(0, 0)};
  };
  const auto highlight = [](int x, int y) {
    const WORD level = x == 5 && y == 7 ? 65535 : static_cast<WORD>((x * 7 + y * 3) % 90);
    return FIRGB16{level, static_cast<WORD>(level / 2), static_cast<WORD>(level / 3)};
  };
  std::uniform_real_distribution<float> real(-0.5F, 3.0F);
  const auto wide_floats = [&](int, int) {
    return FIRGBF{real(random), real(random), real(random)};
  };

  expect_same_as_freeimage(picture_of<FIRGBA16>(FIT_RGBA16, 41, 75, noise_rgba));
  expect_same_as_freeimage(picture_of<FIRGB16>(FIT_RGB16, 64, 33, highlight));
  expect_same_as_freeimage(picture_of<WORD>(FIT_UINT16, 1, 100, noise16));
  expect_same_as_freeimage(picture_of<FIRGB16>(FIT_RGB16, 9, 9, [](int, int) {
    return FIRGB16{0, 0, 0};
  }));
  expect_same_as_freeimage(picture_of<FIRGBF>(FIT_RGBF, 30, 40, wide_floats));
  expect_same_as_freeimage(
      picture_of<float>(FIT_FLOAT, 17, 3, [&](int, int) { return real(random); }));
  expect_same_as_freeimage(picture_of<FIRGBAF>(FIT_RGBAF, 5, 66, [&](int x, int y) {
    const FIRGBF c = wide_floats(x, y);
    return FIRGBAF{c.red, c.green, c.blue, 1.0F};
  }));
}

// The alpha of a 16-bit picture is rounded to 8 bits as libpng rounds it; standard bitmaps are
// left alone and types the curve cannot read give nothing.
TEST(ToneMap, KeepsAlphaPassesBitmapsAndRefusesOtherTypes) {
  const QString name = test::corpus_dir() + "pngsuite/basn6a16.png";
  test::PngPixels reference;
  ASSERT_TRUE(test::decode_png_reference(name, reference));
  const Image mapped = tone_map_stage(load_png(name));
  ASSERT_TRUE(mapped);
  for (int y = 0; y < reference.height; ++y) {
    const BYTE *row = FreeImage_GetScanLine(mapped.get(), reference.height - 1 - y);
    for (int x = 0; x < reference.width; ++x)
      ASSERT_EQ(row[4 * x + FI_RGBA_ALPHA], reference.rgba[(y * reference.width + x) * 4 + 3]);
  }

  Image bitmap(FreeImage_Allocate(3, 2, 32));
  FIBITMAP *const same = bitmap.get();
  EXPECT_EQ(tone_map_stage(std::move(bitmap)).get(), same);
  EXPECT_FALSE(tone_map_stage(Image(FreeImage_AllocateT(FIT_INT16, 3, 2))));
  EXPECT_FALSE(tone_map_stage(Image()));
}

} // namespace
} // namespace lumbrix
