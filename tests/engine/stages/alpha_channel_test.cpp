#include "engine/settings/settings.h"
#include "engine/stages/alpha_channel.h"
#include "engine/stages/stages.h"
#include "platform/gui_app.h"
#include "support/image_builders.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace lumbrix {
namespace {

using test::pixel;

constexpr int width = 40;
constexpr int height = 30;

// Transparent 5 x 5 corners around a half-transparent middle.
Rgba picture_at(int x, int y) {
  const bool corner = (x < 5 || x >= width - 5) && (y < 5 || y >= height - 5);
  return corner ? Rgba{10, 20, 30, 0} : Rgba{200, 100, 50, 128};
}

struct StageCase {
  std::string name;
  std::function<void(Settings &)> set;
  bool bottom_framed = false; // the bottom corners lie in an opaque frame strip
};

class AlphaChannel : public ::testing::Test {
protected:
  static void SetUpTestSuite() { ASSERT_TRUE(ensure_gui_application()); }

  Image run(Image image) const {
    const StageContext context{s, nullptr, TokenValues{}};
    image = greyscale_stage(std::move(image), s);
    image = threshold_stage(std::move(image), s);
    image = frame_stage(std::move(image), s, width, height);
    return watermark_stage(std::move(image), context, width, height);
  }

  Settings s = default_settings(SettingsUse::Console);
  QTemporaryDir dir;
};

// The watermark's case is the test after this one.
TEST_F(AlphaChannel, StagesKeepTransparentCornersTransparent) {
  const StageCase cases[] = {
      {"greyscale", [](Settings &s) { s.do_image_greyscale = 1; }},
      {"threshold", [](Settings &s) { s.do_image_threshold = 1, s.image_threshold = 100; }},
      {"frame along the bottom",
       [](Settings &s) { s.do_frame = FrameKind::Solid, s.solid_bottom = 6; }, true},
  };
  for (const StageCase &c : cases) {
    SCOPED_TRACE(c.name);
    s = default_settings(SettingsUse::Console);
    c.set(s);
    const Image image = run(test::make_rgba32(width, height, picture_at));
    ASSERT_TRUE(has_alpha(image));
    EXPECT_EQ(pixel(image, 0, 0).alpha, 0);
    EXPECT_EQ(pixel(image, width - 1, 0).alpha, 0);
    EXPECT_EQ(pixel(image, 0, height - 1).alpha, c.bottom_framed ? 255 : 0);
    EXPECT_EQ(pixel(image, width / 2, 2).alpha, 128);
  }
}

// Half-transparent blue over half-transparent orange: alpha 0.5 + 0.5 x 0.5, each colour
// weighted by what it contributes; every pixel outside the mark, the corners among them, as it
// was.
TEST_F(AlphaChannel, WatermarkIsLaidOverWithItsAlpha) {
  QImage mark(8, 6, QImage::Format_ARGB32);
  mark.fill(qRgba(0, 0, 255, 128));
  ASSERT_TRUE(mark.save(dir.filePath("mark.png"), "PNG"));
  s.do_watermark = WatermarkKind::Image;
  s.image = dir.filePath("mark.png");
  s.image_position = 4;
  const Image image = run(test::make_rgba32(width, height, picture_at));
  int marked = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (!(pixel(image, x, y) == picture_at(x, y))) {
        ++marked;
        EXPECT_EQ(pixel(image, x, y), (Rgba{66, 33, 187, 192})) << x << "," << y;
      }
  EXPECT_EQ(marked, 8 * 6);
}

} // namespace
} // namespace lumbrix
