#include "engine/settings/format_catalogue.h"
#include "engine/settings/settings.h"
#include "engine/stages/stages.h"
#include "support/image_builders.h"

#include <gtest/gtest.h>

#include <set>

namespace lumbrix {
namespace {

using test::distinct_color;
using test::pixel;

const Rgba black{0, 0, 0, 255};
const Rgba white{255, 255, 255, 255};

class ToneStages : public ::testing::Test {
protected:
  Settings s = default_settings(SettingsUse::Window);

  // Runs the output depth stage with a fixed target for the given output extension.
  static Image to_depth(Image image, int depth, const char *extension = "bmp") {
    return output_depth_stage(std::move(image), depth, QString::fromLatin1(extension));
  }

  static Image distinct_rgb() { return test::make_rgb24(5, 3, distinct_color); }
  static Image distinct_rgba16() { return test::make_rgba16(5, 3, distinct_color); }
};

Rgba inverted(Rgba c) {
  return {static_cast<std::uint8_t>(255 - c.red), static_cast<std::uint8_t>(255 - c.green),
          static_cast<std::uint8_t>(255 - c.blue), c.alpha};
}

std::set<std::uint8_t> grey_levels(const Image &image) {
  std::set<std::uint8_t> levels;
  for (const Rgba &p : test::pixels(image)) {
    EXPECT_TRUE(p.red == p.green && p.green == p.blue);
    levels.insert(p.red);
  }
  return levels;
}

TEST_F(ToneStages, EmptyImagePassesThroughEveryStage) {
  s.do_image_color_correction = 1;
  s.do_image_greyscale = 1;
  s.do_image_threshold = 1;
  EXPECT_FALSE(color_correction_stage(Image{}, s));
  EXPECT_FALSE(greyscale_stage(Image{}, s));
  EXPECT_FALSE(threshold_stage(Image{}, s));
  EXPECT_FALSE(to_depth(Image{}, 32));
}

TEST_F(ToneStages, StagesThatAreOffLeaveTheImageAlone) {
  Image image = test::make_paletted(4, 3, 1, {{1, 2, 3}}, [](int, int) { return 0; });
  FIBITMAP *const before = image.get();
  image = threshold_stage(greyscale_stage(color_correction_stage(std::move(image), s), s), s);
  EXPECT_EQ(image.get(), before);
}

TEST_F(ToneStages, NeutralColorCorrectionLeavesRgbPixelsUnchanged) {
  s.do_image_color_correction = 1;
  const Image corrected = color_correction_stage(distinct_rgb(), s);
  EXPECT_EQ(image_bpp(corrected), 24);
  EXPECT_EQ(test::pixels(corrected), test::pixels(distinct_rgb()));
}

TEST_F(ToneStages, ColorCorrectionMakesLowDepthImages24Bit) {
  s.do_image_color_correction = 1;
  const std::vector<Rgb> palette = {{255, 0, 0}, {0, 0, 255}, {9, 99, 199}};
  for (int bpp : {1, 4}) {
    const Image corrected = color_correction_stage(
        test::make_paletted(bpp, 3, 2, palette, [&](int x, int) { return bpp == 1 ? x % 2 : x; }),
        s);
    ASSERT_TRUE(corrected);
    EXPECT_EQ(image_bpp(corrected), 24);
    EXPECT_EQ(pixel(corrected, 1, 1), (Rgba{0, 0, 255, 255}));
    if (bpp == 4) {
      EXPECT_EQ(pixel(corrected, 2, 0), (Rgba{9, 99, 199, 255}));
    }
  }
}

TEST_F(ToneStages, InversionAppliesToEveryChannel) {
  s.do_image_color_correction = 1;
  s.image_invert = 1;
  const Image corrected = color_correction_stage(distinct_rgb(), s);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(pixel(corrected, x, y), inverted(distinct_color(x, y)));

  // A 16-bit grey image is adjusted too, through its 8-bit form.
  const Image grey =
      color_correction_stage(test::make_grey16(2, 1, [](int, int) { return 0x4000; }), s);
  EXPECT_EQ(image_bpp(grey), 24);
  EXPECT_EQ(pixel(grey, 0, 0), (Rgba{191, 191, 191, 255}));
}

TEST_F(ToneStages, GreyscaleGivesEightBitGrey) {
  s.do_image_greyscale = 1;
  const Image grey = greyscale_stage(
      test::make_rgb24(3, 1,
                       [](int x, int) {
                         return x == 0 ? black : x == 1 ? white : Rgba{0, 255, 0, 0};
                       }),
      s);
  ASSERT_TRUE(grey);
  EXPECT_EQ(image_bpp(grey), 8);
  EXPECT_EQ(pixel(grey, 0, 0), black);
  EXPECT_EQ(pixel(grey, 1, 0), white);
  const Rgba green = pixel(grey, 2, 0);
  EXPECT_TRUE(green.red == green.green && green.green == green.blue);
  EXPECT_GT(green.red, 100); // green is the brightest primary

  // 16-bit samples stay so: only a 64-bit conversion hands them on untone-mapped.
  const Image from_deep = greyscale_stage(distinct_rgba16(), s);
  ASSERT_TRUE(from_deep);
  EXPECT_EQ(image_bpp(from_deep), 64);
}

TEST_F(ToneStages, ThresholdUsesTheLowEightBitsOfTheLevel) {
  s.do_image_threshold = 1;
  s.image_threshold = 300; // acts as 44
  const Image bw =
      threshold_stage(test::make_grey8(4, 1,
                                       [](int x, int) {
                                         return std::array{43, 44, 45, 255}[static_cast<size_t>(x)];
                                       }),
                      s);
  ASSERT_TRUE(bw);
  EXPECT_EQ(image_bpp(bw), 1);
  EXPECT_EQ(pixel(bw, 0, 0), black);
  EXPECT_EQ(pixel(bw, 1, 0), white);
  EXPECT_EQ(pixel(bw, 2, 0), white);

  s.image_threshold = -1; // acts as 255
  const Image strict =
      threshold_stage(test::make_grey8(2, 1, [](int x, int) { return 254 + x; }), s);
  EXPECT_EQ(pixel(strict, 0, 0), black);
  EXPECT_EQ(pixel(strict, 1, 0), white);
}

TEST_F(ToneStages, ThresholdOfDeepImageKeepsItsDepth) {
  s.do_image_threshold = 1;
  s.image_threshold = 128;
  const Image bw = threshold_stage(distinct_rgba16(), s);
  ASSERT_TRUE(bw);
  EXPECT_EQ(image_bpp(bw), 64);
}

TEST_F(ToneStages, AllThreeInOrderGiveOnlyBlackAndWhite) {
  s.do_image_color_correction = 1;
  s.image_contrast = 20;
  s.do_image_greyscale = 1;
  s.do_image_threshold = 1;
  s.image_threshold = 128;
  Image image = test::make_rgba32(16, 5, distinct_color);
  image = threshold_stage(greyscale_stage(color_correction_stage(std::move(image), s), s), s);
  image = to_depth(std::move(image), 32, "psd");
  ASSERT_TRUE(image);
  EXPECT_EQ(image_bpp(image), 32);
  EXPECT_EQ(grey_levels(image), (std::set<std::uint8_t>{0, 255}));
}

TEST_F(ToneStages, SameDepthKeepsTheImage) {
  Image image = test::make_rgba32(2, 2, distinct_color);
  FIBITMAP *const before = image.get();
  EXPECT_EQ(to_depth(std::move(image), 32).get(), before);
}

TEST_F(ToneStages, DepthThirtyTwoAddsOpaqueAlphaAndExpandsGrey) {
  const Image from_rgb = to_depth(distinct_rgb(), 32, "psd");
  EXPECT_EQ(image_bpp(from_rgb), 32);
  EXPECT_EQ(pixel(from_rgb, 4, 2), distinct_color(4, 2));

  const Image from_grey = to_depth(test::make_grey8(2, 1, [](int x, int) { return x * 200; }), 32);
  EXPECT_EQ(pixel(from_grey, 1, 0), (Rgba{200, 200, 200, 255}));

  const Image from_grey16 =
      to_depth(test::make_grey16(2, 1, [](int x, int) { return x * 0x8000; }), 32);
  ASSERT_TRUE(from_grey16);
  EXPECT_EQ(pixel(from_grey16, 1, 0), (Rgba{128, 128, 128, 255}));

  const Image from_bw = to_depth(
      test::make_paletted(1, 2, 1, {{0, 0, 0}, {255, 255, 255}}, [](int x, int) { return x; }), 32);
  EXPECT_EQ(pixel(from_bw, 0, 0), black);
  EXPECT_EQ(pixel(from_bw, 1, 0), white);
}

TEST_F(ToneStages, DepthTwentyFourDropsAlpha) {
  const Image rgb = to_depth(test::make_rgba32(5, 3, distinct_color), 24);
  EXPECT_EQ(image_bpp(rgb), 24);
  EXPECT_EQ(pixel(rgb, 3, 1), distinct_color(3, 1));
}

TEST_F(ToneStages, DeepDepthsUseFloatAndSixteenBitTypes) {
  const Image floats = to_depth(test::make_rgb24(1, 1, [](int, int) { return white; }), 96);
  ASSERT_EQ(FreeImage_GetImageType(floats.get()), FIT_RGBF);
  const auto *f = reinterpret_cast<const FIRGBF *>(FreeImage_GetScanLine(floats.get(), 0));
  EXPECT_FLOAT_EQ(f->red, 1.0f);

  const Image words = to_depth(test::make_rgb24(1, 1,
                                                [](int, int) {
                                                  return Rgba{255, 0, 1};
                                                }),
                               48);
  ASSERT_EQ(FreeImage_GetImageType(words.get()), FIT_RGB16);
  const auto *w = reinterpret_cast<const FIRGB16 *>(FreeImage_GetScanLine(words.get(), 0));
  // FreeImage widens by shifting, not by scaling to the full range.
  EXPECT_EQ(w->red, 0xFF00);
  EXPECT_EQ(w->blue, 0x0100);
}

TEST_F(ToneStages, DepthSixteenIs555ForIconAndTargaElse565) {
  for (const char *extension : {"ico", "tga", "bmp", "jxr"}) {
    const bool five_five_five =
        QLatin1String(extension) == "ico" || QLatin1String(extension) == "tga";
    for (bool deep : {false, true}) {
      const Image packed = to_depth(deep ? distinct_rgba16() : distinct_rgb(), 16, extension);
      ASSERT_TRUE(packed) << extension;
      EXPECT_EQ(image_bpp(packed), 16);
      EXPECT_EQ(FreeImage_GetGreenMask(packed.get()),
                five_five_five ? FI16_555_GREEN_MASK : FI16_565_GREEN_MASK)
          << extension;
    }
  }
}

TEST_F(ToneStages, DepthEightIsGreyForJpegFamilyElseQuantisedPalette) {
  for (const char *extension : {"j2k", "jp2", "jpg", "jxr"}) {
    const Image grey = to_depth(distinct_rgb(), 8, extension);
    EXPECT_EQ(image_bpp(grey), 8);
    EXPECT_EQ(FreeImage_GetColorType(grey.get()), FIC_MINISBLACK) << extension;
  }
  const Rgba red{255, 0, 0, 255};
  const Rgba blue{0, 0, 255, 255};
  const auto two_colors = [&](int x, int) { return x < 2 ? red : blue; };
  for (const char *extension : {"bmp", "gif", "png"}) {
    for (bool alpha : {false, true}) {
      Image source =
          alpha ? test::make_rgba32(4, 1, two_colors) : test::make_rgb24(4, 1, two_colors);
      const Image indexed = to_depth(std::move(source), 8, extension);
      ASSERT_TRUE(indexed);
      EXPECT_EQ(image_bpp(indexed), 8);
      EXPECT_EQ(FreeImage_GetColorType(indexed.get()), FIC_PALETTE);
      EXPECT_EQ(pixel(indexed, 0, 0), red);
      EXPECT_EQ(pixel(indexed, 3, 0), blue);
    }
  }
}

TEST_F(ToneStages, DepthFourAndOne) {
  const Image nibbles = to_depth(distinct_rgb(), 4);
  EXPECT_EQ(image_bpp(nibbles), 4);

  const Image dithered =
      to_depth(test::make_rgb24(4, 2, [](int x, int) { return x < 2 ? black : white; }), 1);
  ASSERT_EQ(image_bpp(dithered), 1);
  EXPECT_EQ(pixel(dithered, 0, 1), black);
  EXPECT_EQ(pixel(dithered, 3, 0), white);
}

TEST_F(ToneStages, DepthOutsideTheTableOrUnreachableFailsTheImage) {
  for (int depth : {0, 2, 12, 40})
    EXPECT_FALSE(to_depth(distinct_rgb(), depth)) << depth;
  // FreeImage answers a 4-bit request for a 64-bit image with a 64-bit copy.
  EXPECT_FALSE(to_depth(distinct_rgba16(), 4));
}

TEST_F(ToneStages, AutomaticDepthTakesFirstListedDepthThatHoldsTheInput) {
  EXPECT_EQ(automatic_depth("png", 1), 1);
  EXPECT_EQ(automatic_depth("png", 2), 4);
  EXPECT_EQ(automatic_depth("png", 16), 24);
  EXPECT_EQ(automatic_depth("png", 48), 48);
  EXPECT_EQ(automatic_depth("png", 64), 48);
  EXPECT_EQ(automatic_depth("psd", 1), 32);
  EXPECT_EQ(automatic_depth("psd", 64), 32);
  EXPECT_EQ(automatic_depth("gif", 24), 8);
  EXPECT_EQ(automatic_depth("nope", 8), 0);
}

TEST_F(ToneStages, AutomaticDepthOfADeepInputIsThePsdDepth) {
  const Image result = to_depth(distinct_rgb(), automatic_depth("psd", 48), "psd");
  EXPECT_EQ(image_bpp(result), 32);
}

} // namespace
} // namespace lumbrix
