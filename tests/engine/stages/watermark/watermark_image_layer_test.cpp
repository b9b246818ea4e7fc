#include "engine/settings/settings.h"
#include "engine/stages/watermark/watermark_image_layer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

TEST(GreyPixel, WeightsTheChannelsAndKeepsAlpha) {
  EXPECT_EQ(grey_pixel(qRgba(255, 0, 0, 255)), qRgba(76, 76, 76, 255));
  EXPECT_EQ(grey_pixel(qRgba(0, 255, 0, 10)), qRgba(149, 149, 149, 10));
  EXPECT_EQ(grey_pixel(qRgba(255, 255, 255, 0)), qRgba(255, 255, 255, 0));
}

TEST(ImageWatermarkLayer, OpacityMakesEvenAnOpaquePictureSeeThrough) {
  Settings s = default_settings(SettingsUse::Console);
  s.image_opacity = 128;
  QTemporaryDir dir;
  QImage opaque(4, 4, QImage::Format_RGB32);
  opaque.fill(qRgb(200, 100, 50));
  ASSERT_TRUE(opaque.save(dir.filePath("o.jpg"), "JPG", 100));
  s.image = dir.filePath("o.jpg");
  const QRgb got = image_watermark_layer(s).pixel(2, 2);
  EXPECT_NEAR(qAlpha(got), 128, 1);
  EXPECT_NEAR(qRed(got), 200, 3);
  EXPECT_NEAR(qBlue(got), 50, 3);
}

} // namespace
} // namespace lumbrix
