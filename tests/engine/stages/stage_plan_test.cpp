#include "engine/stages/stages.h"

#include <gtest/gtest.h>

#include <functional>

namespace lumbrix {
namespace {

// The writer may take bands packed while the picture loaded only when no stage touches it: any
// stage switched on, even to no effect, counts as one that might.
TEST(StagePlan, EveryStageSwitchedOnMayChangeThePixels) {
  EXPECT_TRUE(stages_keep_pixels(default_settings(SettingsUse::Console)));
  const std::function<void(Settings &)> switches[] = {
      [](Settings &s) { s.do_image_rotation = 1; },
      [](Settings &s) { s.do_image_resize = 1; },
      [](Settings &s) { s.do_image_flip_horizontal = 1; },
      [](Settings &s) { s.do_image_flip_vertical = 1; },
      [](Settings &s) { s.do_image_color_correction = 1; },
      [](Settings &s) { s.do_image_greyscale = 1; },
      [](Settings &s) { s.do_image_threshold = 1; },
      [](Settings &s) { s.do_frame = FrameKind::Solid; },
      [](Settings &s) { s.do_watermark = WatermarkKind::Text; },
      [](Settings &s) { s.do_watermark = WatermarkKind::Image; },
  };
  for (const auto &on : switches) {
    Settings s = default_settings(SettingsUse::Console);
    on(s);
    EXPECT_FALSE(stages_keep_pixels(s));
  }
}

} // namespace
} // namespace lumbrix
