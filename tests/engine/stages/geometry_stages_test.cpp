#include "engine/image/image_limits.h"
#include "engine/settings/settings.h"
#include "engine/stages/stages.h"
#include "support/image_builders.h"

#include <gtest/gtest.h>

#include <climits>

namespace lumbrix {
namespace {

using test::distinct_color;
using test::pixel;

const std::vector<Rgb> palette = {{200, 10, 10}, {10, 200, 10}, {10, 10, 200},
                                  {250, 250, 0}, {0, 250, 250}, {250, 0, 250}};

// 3 x 2, every pixel a different palette entry.
Image paletted(int bpp) {
  return test::make_paletted(bpp, 3, 2, palette, [](int x, int y) { return y * 3 + x; });
}

Rgba palette_color(int x, int y) {
  const Rgb c = palette[static_cast<size_t>(y * 3 + x)];
  return {c.red, c.green, c.blue, 255};
}

class GeometryStages : public ::testing::Test {
protected:
  Settings s = default_settings(SettingsUse::Window);

  void rotate_by(int angle, int type = 0) {
    s.do_image_rotation = 1;
    s.image_rotation = angle;
    s.image_rotation_type = static_cast<Byte>(type);
  }

  void resize_to(int width, int height, bool keep_aspect, int unit = 0) {
    s.do_image_resize = 1;
    s.image_width = width;
    s.image_height = height;
    s.image_width_unit = static_cast<Byte>(unit);
    s.image_height_unit = static_cast<Byte>(unit);
    s.keep_aspect_ratio = keep_aspect ? 1 : 0;
  }
};

TEST_F(GeometryStages, EmptyImagePassesThroughEveryStage) {
  rotate_by(90);
  resize_to(10, 10, false);
  s.do_image_flip_horizontal = 1;
  EXPECT_FALSE(rotate_stage(Image{}, s));
  EXPECT_FALSE(resize_stage(Image{}, s, 0, 0));
  flip_stage(nullptr, s);
}

TEST_F(GeometryStages, RotationOffOrAngleOutsideOneTo359LeavesImageAsItWas) {
  for (int angle : {0, 360, -90, 720, 90}) {
    s.do_image_rotation = angle != 90;
    s.image_rotation = angle;
    Image image = paletted(8);
    FIBITMAP *const before = image.get();
    const Image result = rotate_stage(std::move(image), s);
    EXPECT_EQ(result.get(), before) << angle;
    EXPECT_EQ(image_bpp(result), 8) << angle;
  }
}

TEST_F(GeometryStages, QuarterTurnOfPalettedImageIsCounterClockwiseAt24Bits) {
  for (int bpp : {4, 8}) {
    rotate_by(90);
    const Image turned = rotate_stage(paletted(bpp), s);
    ASSERT_TRUE(turned);
    EXPECT_EQ(image_bpp(turned), 24);
    ASSERT_EQ(image_width(turned), 2);
    ASSERT_EQ(image_height(turned), 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 2; ++x)
        EXPECT_EQ(pixel(turned, x, y), palette_color(2 - y, x)) << x << "," << y;
  }
}

TEST_F(GeometryStages, TurnOf270IsClockwise) {
  rotate_by(270);
  const Image turned = rotate_stage(test::make_rgb24(3, 2, distinct_color), s);
  ASSERT_EQ(image_width(turned), 2);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 2; ++x)
      EXPECT_EQ(pixel(turned, x, y), distinct_color(y, 1 - x)) << x << "," << y;
}

TEST_F(GeometryStages, SimpleRotationGrowsCanvasAndFillsCornersWithBackColor) {
  rotate_by(45);
  s.image_rotation_back_color = "FF8000";
  const Rgba white{255, 255, 255, 255};
  auto fill_white = [&](int, int) { return white; };
  const Image turned = rotate_stage(test::make_rgb24(40, 30, fill_white), s);
  ASSERT_TRUE(turned);
  EXPECT_GT(image_width(turned), 40);
  EXPECT_GT(image_height(turned), 30);
  EXPECT_EQ(pixel(turned, 0, 0), (Rgba{255, 128, 0, 255}));
  EXPECT_EQ(pixel(turned, image_width(turned) / 2, image_height(turned) / 2), white);

  // The background has no alpha: a 32-bit image gets see-through corners.
  const Image with_alpha = rotate_stage(test::make_rgba32(40, 30, fill_white), s);
  EXPECT_EQ(pixel(with_alpha, 0, 0), (Rgba{255, 128, 0, 0}));

  s.image_rotation_back_color = "F80";
  const Image black_corners = rotate_stage(test::make_rgb24(40, 30, fill_white), s);
  EXPECT_EQ(pixel(black_corners, 0, 0), (Rgba{0, 0, 0, 255}));
}

TEST_F(GeometryStages, AdvancedRotationKeepsTheSize) {
  rotate_by(30, 1);
  const Image turned =
      rotate_stage(test::make_paletted(8, 40, 30, palette, [](int x, int) { return x % 6; }), s);
  ASSERT_TRUE(turned);
  EXPECT_EQ(image_width(turned), 40);
  EXPECT_EQ(image_height(turned), 30);
  EXPECT_EQ(image_bpp(turned), 24);
}

TEST_F(GeometryStages, UnknownRotationTypeOnlyConvertsTheDepth) {
  rotate_by(90, 2);
  const Image result = rotate_stage(paletted(8), s);
  ASSERT_TRUE(result);
  EXPECT_EQ(image_bpp(result), 24);
  EXPECT_EQ(image_width(result), 3);
  EXPECT_EQ(pixel(result, 2, 1), palette_color(2, 1));
}

TEST_F(GeometryStages, SixteenBitGreyRotates) {
  rotate_by(90);
  const Image turned =
      rotate_stage(test::make_grey16(3, 2, [](int x, int y) { return (y * 3 + x) << 12; }), s);
  ASSERT_TRUE(turned);
  EXPECT_EQ(image_bpp(turned), 24);
  EXPECT_EQ(pixel(turned, 0, 0), (Rgba{0x20, 0x20, 0x20, 255})); // source (2, 0)
}

TEST_F(GeometryStages, FlipsMirrorThePixelArray) {
  const Image original = test::make_rgb24(5, 4, distinct_color);
  const auto flipped = [&](bool horizontal, bool vertical) {
    s.do_image_flip_horizontal = horizontal;
    s.do_image_flip_vertical = vertical;
    Image image{FreeImage_Clone(original.get())};
    flip_stage(image.get(), s);
    return image;
  };
  const Image h = flipped(true, false);
  const Image v = flipped(false, true);
  const Image none = flipped(false, false);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(pixel(h, x, y), distinct_color(4 - x, y));
      EXPECT_EQ(pixel(v, x, y), distinct_color(x, 3 - y));
      EXPECT_EQ(pixel(none, x, y), distinct_color(x, y));
    }
}

TEST_F(GeometryStages, BothFlipsEqualHalfTurn) {
  s.do_image_flip_horizontal = 1;
  s.do_image_flip_vertical = 1;
  Image flipped = test::make_rgba32(5, 4, distinct_color);
  flip_stage(flipped.get(), s);
  rotate_by(180);
  const Image turned = rotate_stage(test::make_rgba32(5, 4, distinct_color), s);
  EXPECT_EQ(test::pixels(flipped), test::pixels(turned));
}

TEST_F(GeometryStages, ScaledSizeInPixelsPercentOrUnknownUnit) {
  EXPECT_EQ(scaled_size(300, 0, 1000), 300);
  EXPECT_EQ(scaled_size(-5, 0, 1000), -5);
  // Percentages round halves to the even neighbour.
  EXPECT_EQ(scaled_size(50, 1, 101), 50);
  EXPECT_EQ(scaled_size(50, 1, 99), 50);
  EXPECT_EQ(scaled_size(50, 1, 103), 52);
  EXPECT_EQ(scaled_size(150, 1, 3), 4);
  EXPECT_EQ(scaled_size(33, 1, 1000), 330);
  EXPECT_EQ(scaled_size(300, 2, 1000), 0);
  EXPECT_EQ(scaled_size(INT_MAX, 1, 30000), INT_MAX);
}

TEST_F(GeometryStages, ResizeFilterBySetting) {
  const std::pair<int, FREE_IMAGE_FILTER> table[] = {
      {0, FILTER_BOX},        {1, FILTER_BILINEAR}, {2, FILTER_BSPLINE}, {3, FILTER_BICUBIC},
      {4, FILTER_CATMULLROM}, {5, FILTER_LANCZOS3}, {6, FILTER_BICUBIC}, {255, FILTER_BICUBIC}};
  for (const auto &[setting, filter] : table) {
    s.image_resize_algorithm = static_cast<Byte>(setting);
    EXPECT_EQ(resize_filter(s), filter) << setting;
  }
}

struct ResizeCase {
  const char *what;
  int target_width, target_height, unit;
  bool keep_aspect;
  int type, width, height, expected_width, expected_height;
};

// A case whose expected size equals the input expects the very image back, not a copy.
const ResizeCase resize_cases[] = {
    {"landscape ignores the height target", 300, 900, 0, true, 0, 1000, 500, 300, 150},
    {"portrait ignores the width target", 900, 300, 0, true, 0, 500, 1000, 150, 300},
    {"square follows the width", 60, 1, 0, true, 0, 100, 100, 60, 60},
    {"half rounds away from zero", 10, 1, 0, true, 0, 400, 100, 10, 3},
    {"9 / (6 / 5) is 7.4999995 in floats", 9, 1, 0, true, 0, 6, 5, 9, 7},
    {"portrait quotient in floats", 1, 9, 0, true, 0, 5, 6, 7, 9},
    {"thin strip keeps one row", 300, 300, 0, true, 0, 3000, 2, 300, 1},
    {"percent halves to even", 50, 50, 1, false, 0, 101, 99, 50, 50},
    {"both targets without aspect", 7, 90, 0, false, 0, 20, 20, 7, 90},
    {"zero height target", 300, 0, 0, true, 0, 1000, 500, 1000, 500},
    {"negative width target", -300, 200, 0, false, 0, 1000, 500, 1000, 500},
    {"target equals size", 40, 30, 0, false, 0, 40, 30, 40, 30},
    {"100 percent", 100, 100, 1, false, 0, 40, 30, 40, 30},
    {"type 1 skips smaller both ways", 800, 600, 0, true, 1, 640, 480, 640, 480},
    {"type 1 shrinks wider", 800, 600, 0, true, 1, 1024, 300, 800, 234},
    {"type 1 grows equal height", 800, 600, 0, true, 1, 640, 600, 800, 750},
    {"type 0 enlarges", 800, 600, 0, false, 0, 640, 480, 800, 600},
};

TEST_F(GeometryStages, ResizeTargetSizes) {
  for (const ResizeCase &c : resize_cases) {
    resize_to(c.target_width, c.target_height, c.keep_aspect, c.unit);
    s.image_resize_type = static_cast<Byte>(c.type);
    Image image{FreeImage_Allocate(c.width, c.height, 24)};
    FIBITMAP *const before = image.get();
    const Image result = resize_stage(std::move(image), s, c.width, c.height);
    EXPECT_EQ(image_width(result), c.expected_width) << c.what;
    EXPECT_EQ(image_height(result), c.expected_height) << c.what;
    EXPECT_EQ(result.get() == before, c.width == c.expected_width && c.height == c.expected_height)
        << c.what;
  }
  s.do_image_resize = 0;
  Image image{FreeImage_Allocate(40, 30, 24)};
  FIBITMAP *const before = image.get();
  EXPECT_EQ(resize_stage(std::move(image), s, 40, 30).get(), before);
}

TEST_F(GeometryStages, ResizeKeepsDepthAlphaAndAnEvenColor) {
  resize_to(50, 50, false, 1);
  const Rgba tint{30, 60, 90, 120};
  Image image = test::make_rgba32(6, 4, [&](int, int) { return tint; });
  const Image result = resize_stage(std::move(image), s, 6, 4);
  EXPECT_EQ(image_width(result), 3);
  EXPECT_EQ(image_bpp(result), 32);
  EXPECT_EQ(pixel(result, 1, 1), tint);
}

TEST_F(GeometryStages, TargetTooLargeToWriteFailsInsteadOfRescaling) {
  resize_to(max_image_side + 1, 10, false);
  EXPECT_FALSE(resize_stage(Image{FreeImage_Allocate(4, 4, 24)}, s, 4, 4));
  resize_to(INT_MAX, INT_MAX, false, 1);
  EXPECT_FALSE(resize_stage(Image{FreeImage_Allocate(4, 4, 24)}, s, 4, 4));
}

} // namespace
} // namespace lumbrix
