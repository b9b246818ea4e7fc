#include "prefs/preview_render.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class PreviewRenderTest : public ::testing::Test {
protected:
  QString picture(int width, int height) {
    const QString path = dir.filePath(QStringLiteral("%1x%2.png").arg(width).arg(height));
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(40, 160, 90));
    EXPECT_TRUE(image.save(path));
    return path;
  }

  // A red frame of the same width on every side.
  static Settings framed(int band) {
    Settings s = default_settings(SettingsUse::Window);
    s.do_frame = FrameKind::Solid;
    s.solid_left = s.solid_right = s.solid_top = s.solid_bottom = band;
    s.solid_left_color = s.solid_right_color = s.solid_top_color = s.solid_bottom_color =
        QStringLiteral("FF0000");
    return s;
  }

  QTemporaryDir dir;
};

bool is_red(const QImage &image, int x, int y) {
  return image.pixelColor(x, y) == QColor(255, 0, 0);
}

TEST_F(PreviewRenderTest, ShowsWhatTheStagesMakeFittedToTheBox) {
  Settings s = framed(2);
  s.do_image_resize = 1;
  s.keep_aspect_ratio = 0;
  s.image_width = 20;
  s.image_height = 10;
  // The resized picture, its frame drawn inside, shown 2.4 times as large.
  const QImage shown = PreviewSource(picture(64, 48)).render(s, QSize(48, 48));
  ASSERT_EQ(shown.size(), QSize(48, 24));
  EXPECT_TRUE(is_red(shown, 1, 1));
  EXPECT_TRUE(is_red(shown, 46, 22));
  EXPECT_EQ(shown.pixelColor(24, 12), QColor(40, 160, 90));
}

TEST_F(PreviewRenderTest, LargePicturesAreScaledDownBeforeTheStages) {
  // 6 megapixels become 2: the 10-pixel frame is then drawn on a picture 1732 pixels wide and
  // shows about 11 pixels wide at 2000; drawn on the whole picture it would show less than 7.
  const QImage shown = PreviewSource(picture(3000, 2000)).render(framed(10), QSize(2000, 2000));
  ASSERT_EQ(shown.width(), 2000);
  EXPECT_TRUE(is_red(shown, 9, shown.height() / 2));
  EXPECT_FALSE(is_red(shown, 14, shown.height() / 2));
}

TEST_F(PreviewRenderTest, UnreadablePicturesShowNothing) {
  EXPECT_TRUE(PreviewSource(dir.filePath(QStringLiteral("missing.png")))
                  .render(framed(1), QSize(50, 50))
                  .isNull());
}

} // namespace
} // namespace lumbrix
