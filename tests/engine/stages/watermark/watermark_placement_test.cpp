#include "engine/settings/settings.h"
#include "engine/stages/watermark/watermark_placement.h"

#include <QRect>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

QRect as_rect(const WatermarkArea &a) { return {a.x, a.y, a.width, a.height}; }

TEST(WatermarkArea, InsideTheFrameOnlyWithFrameAndTheKindsBoundaryBothSet) {
  Settings s = default_settings(SettingsUse::Console);
  s.do_watermark = WatermarkKind::Text;
  EXPECT_EQ(as_rect(watermark_area(s, 640, 480)), QRect(0, 0, 640, 480));
  s.do_frame = FrameKind::Solid;
  s.solid_left = s.solid_top = 20;
  s.solid_right = s.solid_bottom = 30;
  EXPECT_EQ(as_rect(watermark_area(s, 640, 480)), QRect(0, 0, 640, 480));
  s.text_boundary = 1;
  EXPECT_EQ(as_rect(watermark_area(s, 640, 480)), QRect(20, 20, 590, 430));
  s.do_watermark = WatermarkKind::Image; // the image's own boundary is still 0
  EXPECT_EQ(as_rect(watermark_area(s, 640, 480)), QRect(0, 0, 640, 480));
}

TEST(WatermarkPosition, AnchorsMeasureOffsetsInwardAndIgnoreThemWhenCentred) {
  const QPoint expected[] = {{10, 10},   {270, 10}, {530, 10},  {10, 230},  {270, 230},
                             {530, 230}, {10, 450}, {270, 450}, {530, 450}, {0, 0}};
  for (int anchor = 0; anchor < 10; ++anchor)
    EXPECT_EQ(watermark_position({100, 20}, {0, 0, 640, 480}, {0, anchor, 10, 10, 0}),
              expected[anchor])
        << anchor;
  // Shifted by the area's origin; a centred overhang truncates toward zero.
  EXPECT_EQ(watermark_position({100, 20}, {20, 20, 590, 430}, {1, 0, 7, 3, 0}), QPoint(27, 23));
  EXPECT_EQ(watermark_position({13, 13}, {0, 0, 10, 10}, {0, 4, 0, 0, 0}), QPoint(-1, -1));
}

TEST(WatermarkCrop, CutsRightAndBottomToTheRoomLeftNeverScales) {
  const WatermarkArea area{0, 0, 80, 60};
  EXPECT_EQ(watermark_crop({50, 20}, area, {0, 0, 10, 10, 0}), QSize(50, 20));
  EXPECT_EQ(watermark_crop({100, 70}, area, {0, 0, 10, 10, 0}), QSize(70, 50));
  EXPECT_TRUE(watermark_crop({50, 20}, area, {0, 0, 80, 0, 0}).isEmpty());
}

} // namespace
} // namespace lumbrix
