#include "engine/settings/settings.h"
#include "engine/stages/stages.h"
#include "support/image_builders.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

using test::pixel;

const Rgba grey{90, 90, 90, 255};
const Rgba red{255, 0, 0, 255};
const Rgba blue{0, 0, 255, 255};

Image plain(int size, Rgba color) {
  return test::make_rgb24(size, size, [=](int, int) { return color; });
}

class FrameStage : public ::testing::Test {
protected:
  Settings s = default_settings(SettingsUse::Console);

  void SetUp() override {
    s.do_frame = FrameKind::Solid;
    s.solid_left_color = s.solid_right_color = QStringLiteral("FF0000");
    s.solid_top_color = s.solid_bottom_color = QStringLiteral("0000FF");
  }
};

TEST(ParseRgbaColor, ColourFromTheTextAlphaAsGiven) {
  EXPECT_EQ(parse_rgba_color("FF8000", 77), (Rgba{255, 128, 0, 77}));
  EXPECT_EQ(parse_rgba_color("F00", 200), (Rgba{0, 0, 0, 200}));
}

TEST_F(FrameStage, ZeroWidthsLeavePixelsAndAlpha) {
  const auto color = [](int x, int y) {
    Rgba c = test::distinct_color(x, y);
    c.alpha = static_cast<std::uint8_t>(16 * x);
    return c;
  };
  Image image = frame_stage(test::make_rgba32(16, 5, color), s, 16, 5);
  ASSERT_EQ(image_bpp(image), 32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 16; ++x)
      ASSERT_EQ(pixel(image, x, y), color(x, y)) << x << "," << y;
}

TEST_F(FrameStage, BandsCoverTheEdgesAndMeetAtTheDiagonal) {
  s.solid_left = s.solid_top = 10;
  Image image = frame_stage(plain(100, grey), s, 100, 100);
  EXPECT_EQ(pixel(image, 2, 5), red);
  EXPECT_EQ(pixel(image, 5, 2), blue);
  EXPECT_EQ(pixel(image, 9, 60), red);
  EXPECT_EQ(pixel(image, 60, 9), blue);
  EXPECT_EQ(pixel(image, 10, 60), grey);
  EXPECT_EQ(pixel(image, 50, 50), grey);
  EXPECT_EQ(pixel(image, 99, 99), grey);
}

TEST_F(FrameStage, MitredSeamsLetNothingOfThePictureThrough) {
  s.solid_left = s.solid_top = s.solid_right = s.solid_bottom = 12;
  Image image = frame_stage(plain(40, {0, 255, 0, 255}), s, 40, 40);
  for (const auto &[x, y] : {std::pair{0, 0}, {5, 5}, {11, 11}, {34, 5}, {5, 34}, {34, 34}}) {
    const Rgba c = pixel(image, x, y);
    EXPECT_LE(c.green, 2) << x << "," << y;
    EXPECT_GE(c.red + c.blue, 250) << x << "," << y;
  }
  EXPECT_EQ(pixel(image, 37, 8), red);
  EXPECT_EQ(pixel(image, 8, 37), blue);
}

TEST_F(FrameStage, OpacityBlendsTheWholeFrameAboutHalfWay) {
  s.solid_left = s.solid_top = 10;
  s.solid_top_color = QStringLiteral("FF0000");
  s.solid_opacity = 128;
  Image image = frame_stage(plain(50, {0, 0, 200, 255}), s, 50, 50);
  for (const auto &[x, y] : {std::pair{2, 30}, {30, 2}, {5, 5}}) {
    EXPECT_NEAR(pixel(image, x, y).red, 128, 3) << x << "," << y;
    EXPECT_NEAR(pixel(image, x, y).blue, 100, 3) << x << "," << y;
  }
  EXPECT_EQ(pixel(image, 30, 30), (Rgba{0, 0, 200, 255}));
}

} // namespace
} // namespace lumbrix
