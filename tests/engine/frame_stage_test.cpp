#include "engine/settings.h"
#include "engine/stages.h"
#include "support/image_builders.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace lumbrix {
namespace {

using test::pixel;

const Rgba grey{90, 90, 90, 255};
const Rgba red{255, 0, 0, 255};
const Rgba blue{0, 0, 255, 255};
const Rgba green{0, 255, 0, 255};

Image plain(int width, int height, Rgba color) {
  return test::make_rgb24(width, height, [=](int, int) { return color; });
}

class FrameStage : public ::testing::Test {
protected:
  void SetUp() override {
    set_defaults(true);
    settings().do_frame = 1;
  }

  static void band(int Settings::*width, QString Settings::*color, int value, const char *rgb) {
    settings().*width = value;
    settings().*color = QString::fromLatin1(rgb);
  }
  static void left(int value, const char *rgb) {
    band(&Settings::solid_left, &Settings::solid_left_color, value, rgb);
  }
  static void right(int value, const char *rgb) {
    band(&Settings::solid_right, &Settings::solid_right_color, value, rgb);
  }
  static void top(int value, const char *rgb) {
    band(&Settings::solid_top, &Settings::solid_top_color, value, rgb);
  }
  static void bottom(int value, const char *rgb) {
    band(&Settings::solid_bottom, &Settings::solid_bottom_color, value, rgb);
  }
};

TEST(ParseRgbaColor, ColourFromTheTextAlphaAsGiven) {
  EXPECT_EQ(parse_rgba_color("FF8000", 77), (Rgba{255, 128, 0, 77}));
  EXPECT_EQ(parse_rgba_color("0a0b0c", 255), (Rgba{10, 11, 12, 255}));
  EXPECT_EQ(parse_rgba_color("F00", 200), (Rgba{0, 0, 0, 200}));
  EXPECT_EQ(parse_rgba_color("", 0), (Rgba{0, 0, 0, 0}));
}

TEST_F(FrameStage, OffLeavesTheImageAsItWas) {
  settings().do_frame = 0;
  left(10, "FF0000");
  Image image = test::make_rgba32(4, 4, [](int, int) { return Rgba{1, 2, 3, 4}; });
  FIBITMAP *before = image.get();
  image = frame_stage(std::move(image), 4, 4);
  EXPECT_EQ(image.get(), before);
  EXPECT_EQ(image_bpp(image), 32);
}

TEST_F(FrameStage, AnyOtherSettingOnlyDropsTheAlpha) {
  settings().do_frame = 2;
  left(2, "FF0000");
  Image image = frame_stage(test::make_rgba32(4, 4,
                                              [](int, int) {
                                                return Rgba{1, 2, 3, 0};
                                              }),
                            4, 4);
  EXPECT_EQ(image_bpp(image), 24);
  EXPECT_EQ(pixel(image, 0, 0), (Rgba{1, 2, 3, 255}));
}

TEST_F(FrameStage, ZeroWidthsLeavePixelsButDropAlpha) {
  Image image = frame_stage(test::make_rgba32(16, 5, test::distinct_color), 16, 5);
  ASSERT_EQ(image_bpp(image), 24);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 16; ++x) {
      Rgba expected = test::distinct_color(x, y);
      expected.alpha = 255;
      ASSERT_EQ(pixel(image, x, y), expected) << x << "," << y;
    }
}

TEST_F(FrameStage, BandsCoverTheEdgesAndMeetAtTheDiagonal) {
  left(10, "FF0000");
  top(10, "0000FF");
  Image image = frame_stage(plain(100, 100, grey), 100, 100);
  ASSERT_EQ(image_bpp(image), 24);
  EXPECT_EQ(pixel(image, 2, 5), red);
  EXPECT_EQ(pixel(image, 5, 2), blue);
  EXPECT_EQ(pixel(image, 2, 60), red);
  EXPECT_EQ(pixel(image, 60, 2), blue);
  EXPECT_EQ(pixel(image, 9, 50), red);
  EXPECT_EQ(pixel(image, 10, 50), grey);
  EXPECT_EQ(pixel(image, 50, 10), grey);
  EXPECT_EQ(pixel(image, 50, 50), grey);
  EXPECT_EQ(pixel(image, 99, 99), grey);
}

TEST_F(FrameStage, MitredSeamHasNoGapToThePicture) {
  left(12, "FF0000");
  top(12, "0000FF");
  right(12, "FF0000");
  bottom(12, "0000FF");
  Image image = frame_stage(plain(40, 40, green), 40, 40);
  // Pixels on a diagonal blend the two band colours; none lets the picture through.
  for (const auto &[x, y] : {std::pair{0, 0}, {5, 5}, {11, 11}, {34, 5}, {5, 34}, {34, 34}}) {
    const Rgba c = pixel(image, x, y);
    EXPECT_LE(c.green, 2) << x << "," << y;
    EXPECT_GE(c.red + c.blue, 250) << x << "," << y;
  }
  EXPECT_EQ(pixel(image, 8, 2), blue);
  EXPECT_EQ(pixel(image, 2, 8), red);
  EXPECT_EQ(pixel(image, 37, 8), red);
  EXPECT_EQ(pixel(image, 8, 37), blue);
}

TEST_F(FrameStage, OpacityBlendsTheWholeFrameAboutHalfWay) {
  left(10, "FF0000");
  top(10, "FF0000");
  settings().solid_opacity = 128;
  Image image = frame_stage(plain(50, 50, {0, 0, 200, 255}), 50, 50);
  for (const auto &[x, y] : {std::pair{2, 30}, {30, 2}, {5, 5}}) {
    const Rgba c = pixel(image, x, y);
    EXPECT_NEAR(c.red, 128, 3) << x << "," << y;
    EXPECT_NEAR(c.blue, 100, 3) << x << "," << y;
  }
  EXPECT_EQ(pixel(image, 30, 30), (Rgba{0, 0, 200, 255}));
}

TEST_F(FrameStage, LaterBandsCoverEarlierOnesWhereTheyOverlap) {
  left(8, "FF0000");
  right(8, "00FF00");
  Image image = frame_stage(plain(10, 10, grey), 10, 10);
  EXPECT_EQ(pixel(image, 0, 5), red);
  EXPECT_EQ(pixel(image, 5, 5), red);
  EXPECT_EQ(pixel(image, 9, 5), green);
}

TEST_F(FrameStage, HugeOrNegativeWidthsDrawWithoutHarm) {
  left(100000, "FF0000");
  top(-50, "0000FF");
  right(-3, "00FF00");
  Image image = frame_stage(plain(20, 10, grey), 20, 10);
  ASSERT_TRUE(image);
  EXPECT_EQ(image_width(image), 20);
  EXPECT_EQ(image_bpp(image), 24);
}

} // namespace
} // namespace lumbrix
