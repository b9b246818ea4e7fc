#include "engine/settings.h"
#include "engine/watermark_image_layer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class ImageWatermarkLayer : public ::testing::Test {
protected:
  void SetUp() override {
    set_defaults(true);
    settings().do_watermark = 2;
  }

  // Left half opaque orange, right half fully transparent.
  QString half_transparent_png() {
    QImage image(8, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 8; ++x)
        image.setPixel(x, y, x < 4 ? qRgba(250, 130, 10, 255) : qRgba(0, 0, 0, 0));
    const QString path = dir.filePath("half.png");
    EXPECT_TRUE(image.save(path, "PNG"));
    return path;
  }

  QTemporaryDir dir;
};

TEST(GreyPixel, WeightsTheChannelsAndKeepsAlpha) {
  EXPECT_EQ(grey_pixel(qRgba(255, 0, 0, 255)), qRgba(76, 76, 76, 255));
  EXPECT_EQ(grey_pixel(qRgba(0, 255, 0, 10)), qRgba(149, 149, 149, 10));
  EXPECT_EQ(grey_pixel(qRgba(0, 0, 255, 0)), qRgba(28, 28, 28, 0));
  EXPECT_EQ(grey_pixel(qRgba(255, 255, 255, 128)), qRgba(255, 255, 255, 128));
}

TEST_F(ImageWatermarkLayer, DrawsTheFileAsItIs) {
  const QImage layer = image_watermark_layer(half_transparent_png());
  ASSERT_EQ(layer.size(), QSize(8, 4));
  EXPECT_EQ(layer.pixel(1, 1), qRgba(250, 130, 10, 255));
  EXPECT_EQ(qAlpha(layer.pixel(6, 1)), 0);
}

TEST_F(ImageWatermarkLayer, GreyscaleKeepsTheTransparency) {
  settings().image_greyscale = 1;
  const QImage layer = image_watermark_layer(half_transparent_png());
  const int grey = (77 * 250 + 150 * 130 + 29 * 10) >> 8;
  EXPECT_EQ(layer.pixel(1, 1), qRgba(grey, grey, grey, 255));
  EXPECT_EQ(qAlpha(layer.pixel(6, 1)), 0);
}

TEST_F(ImageWatermarkLayer, OpacityMakesEvenAnOpaquePictureSeeThrough) {
  settings().image_opacity = 128;
  QImage opaque(4, 4, QImage::Format_RGB32);
  opaque.fill(qRgb(200, 100, 50));
  ASSERT_TRUE(opaque.save(dir.filePath("o.jpg"), "JPG", 100));
  const QRgb got = image_watermark_layer(dir.filePath("o.jpg")).pixel(2, 2);
  EXPECT_NEAR(qAlpha(got), 128, 1);
  EXPECT_NEAR(qRed(got), 200, 3);
  EXPECT_NEAR(qGreen(got), 100, 3);
  EXPECT_NEAR(qBlue(got), 50, 3);
}

TEST_F(ImageWatermarkLayer, UnreadableFileGivesNoLayer) {
  EXPECT_TRUE(image_watermark_layer(dir.filePath("missing.png")).isNull());
  EXPECT_TRUE(image_watermark_layer(QString()).isNull());
}

} // namespace
} // namespace lumbrix
