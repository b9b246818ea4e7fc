#include "engine/settings.h"
#include "engine/watermark_placement.h"
#include "support/image_builders.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

using test::pixel;

class WatermarkPlacementTest : public ::testing::Test {
protected:
  void SetUp() override {
    set_defaults(true);
    settings().do_watermark = 1;
  }

  static void frame(int left, int top, int right, int bottom) {
    Settings &s = settings();
    s.do_frame = 1;
    s.solid_left = left;
    s.solid_top = top;
    s.solid_right = right;
    s.solid_bottom = bottom;
  }
};

void expect_area(const WatermarkArea &area, int x, int y, int width, int height) {
  EXPECT_EQ(area.x, x);
  EXPECT_EQ(area.y, y);
  EXPECT_EQ(area.width, width);
  EXPECT_EQ(area.height, height);
}

TEST_F(WatermarkPlacementTest, SettingsOfTheChosenKind) {
  Settings &s = settings();
  s.text_position = 3;
  s.text_x_offset = 4;
  s.image_position = 6;
  s.image_y_offset = 9;
  s.wm_image_rotation = 30;
  EXPECT_EQ(watermark_placement().anchor, 3);
  EXPECT_EQ(watermark_placement().x_offset, 4);
  s.do_watermark = 2;
  EXPECT_EQ(watermark_placement().anchor, 6);
  EXPECT_EQ(watermark_placement().y_offset, 9);
  EXPECT_EQ(watermark_placement().rotation, 30);
}

TEST_F(WatermarkPlacementTest, AreaIsInsideTheFrameOnlyWithFrameAndBoundaryBothSet) {
  expect_area(watermark_area(640, 480), 0, 0, 640, 480);
  frame(20, 20, 30, 30);
  expect_area(watermark_area(640, 480), 0, 0, 640, 480);
  settings().text_boundary = 1;
  expect_area(watermark_area(640, 480), 20, 20, 590, 430);
  settings().do_watermark = 2; // the image's own boundary setting is still 0
  expect_area(watermark_area(640, 480), 0, 0, 640, 480);
  settings().do_frame = 0;
  settings().image_boundary = 1;
  expect_area(watermark_area(640, 480), 0, 0, 640, 480);
}

TEST_F(WatermarkPlacementTest, AnchorsMeasureOffsetsInwardAndIgnoreThemWhenCentred) {
  const WatermarkArea area{0, 0, 640, 480};
  const QSize box(100, 20);
  const QPoint expected[] = {{10, 10},   {270, 10}, {530, 10},  {10, 230}, {270, 230},
                             {530, 230}, {10, 450}, {270, 450}, {530, 450}};
  for (int anchor = 0; anchor < 9; ++anchor)
    EXPECT_EQ(watermark_position(box, area, {0, anchor, 10, 10, 0}), expected[anchor]) << anchor;
  EXPECT_EQ(watermark_position(box, area, {0, 9, 10, 10, 0}), QPoint(0, 0));
}

TEST_F(WatermarkPlacementTest, PositionIsShiftedByTheAreaOrigin) {
  frame(20, 20, 30, 30);
  settings().text_boundary = 1;
  const WatermarkArea area = watermark_area(640, 480);
  EXPECT_EQ(watermark_position({100, 20}, area, {1, 0, 7, 3, 0}), QPoint(27, 23));
  EXPECT_EQ(watermark_position({100, 20}, area, {1, 8, 7, 3, 0}), QPoint(503, 427));
}

TEST_F(WatermarkPlacementTest, CentringTruncatesTowardZero) {
  const WatermarkArea area{0, 0, 11, 11};
  EXPECT_EQ(watermark_position({4, 4}, area, {0, 4, 0, 0, 0}), QPoint(3, 3));
  // A mark wider than the area: (10 - 13) / 2 is -1, not -2.
  EXPECT_EQ(watermark_position({13, 13}, {0, 0, 10, 10}, {0, 4, 0, 0, 0}), QPoint(-1, -1));
}

TEST_F(WatermarkPlacementTest, CropCutsRightAndBottomToTheRoomLeft) {
  const WatermarkArea area{0, 0, 80, 60};
  EXPECT_EQ(watermark_crop({50, 20}, area, {0, 0, 10, 10, 0}), QSize(50, 20));
  EXPECT_EQ(watermark_crop({100, 20}, area, {0, 0, 10, 10, 0}), QSize(70, 20));
  EXPECT_EQ(watermark_crop({50, 70}, area, {0, 0, 10, 10, 0}), QSize(50, 50));
  EXPECT_TRUE(watermark_crop({50, 20}, area, {0, 0, 80, 0, 0}).isEmpty());
  EXPECT_TRUE(watermark_crop({50, 20}, {0, 0, -5, 60}, {0, 0, 0, 0, 0}).isEmpty());
}

TEST_F(WatermarkPlacementTest, RotationOutsideOneTo359LeavesTheMark) {
  for (int angle : {0, 360, -45, 1000}) {
    settings().text_rotation = angle;
    Image mark = test::make_rgba32(8, 4, test::distinct_color);
    FIBITMAP *before = mark.get();
    EXPECT_EQ(watermark_rotate(std::move(mark)).get(), before) << angle;
  }
}

TEST_F(WatermarkPlacementTest, RotationEnlargesTheMarkWithTransparentCorners) {
  settings().text_rotation = 45;
  Image mark = watermark_rotate(test::make_rgba32(40, 30, [](int, int) {
    return Rgba{200, 0, 0, 255};
  }));
  ASSERT_EQ(image_bpp(mark), 32);
  EXPECT_GT(image_width(mark), 40);
  EXPECT_GT(image_height(mark), 30);
  const int w = image_width(mark);
  const int h = image_height(mark);
  for (const auto &[x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
    EXPECT_EQ(pixel(mark, x, y).alpha, 0) << x << "," << y;
  EXPECT_EQ(pixel(mark, w / 2, h / 2), (Rgba{200, 0, 0, 255}));
}

TEST_F(WatermarkPlacementTest, ImageRotationIsUsedForAnImageWatermark) {
  settings().do_watermark = 2;
  settings().text_rotation = 90;
  settings().wm_image_rotation = 0;
  Image mark = watermark_rotate(test::make_rgba32(8, 4, test::distinct_color));
  EXPECT_EQ(image_width(mark), 8);
  settings().wm_image_rotation = 90;
  mark = watermark_rotate(std::move(mark));
  EXPECT_EQ(image_width(mark), 4);
}

} // namespace
} // namespace lumbrix
