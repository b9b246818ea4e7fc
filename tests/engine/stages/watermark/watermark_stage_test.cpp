#include "engine/settings/settings.h"
#include "engine/stages/stages.h"
#include "engine/stages/watermark/watermark_font.h"
#include "platform/gui_app.h"
#include "support/image_builders.h"

#include <QFile>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

using test::pixel;

const Rgba grey{90, 90, 90, 255};

Image plain(int width, int height) {
  return test::make_rgb24(width, height, [](int, int) { return grey; });
}

// Every column of a test mark has its own colour, so scaling or a shift shows.
Rgba column_colour(int x) {
  return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(255 - x), 7, 255};
}

// The smallest rectangle holding every pixel that is no longer the plain grey.
QRect marked_area(const Image &image) {
  QRect box;
  for (int y = 0; y < image_height(image); ++y)
    for (int x = 0; x < image_width(image); ++x)
      if (!(pixel(image, x, y) == grey))
        box |= QRect(x, y, 1, 1);
  return box;
}

class WatermarkStage : public ::testing::Test {
protected:
  static void SetUpTestSuite() { ASSERT_TRUE(ensure_gui_application()); }

  Settings s = default_settings(SettingsUse::Console);
  std::optional<WatermarkFont> font;

  Image stamp(Image picture, int width, int height) {
    const StageContext context{s, font ? &*font : nullptr, TokenValues{}};
    return watermark_stage(std::move(picture), context, width, height);
  }

  void image_mark(const QImage &mark, int anchor, int x_offset, int y_offset) {
    ASSERT_TRUE(mark.save(dir.filePath("mark.png"), "PNG"));
    use_file(dir.filePath("mark.png"), anchor, x_offset, y_offset);
  }

  void columns_mark(int width, int height, int anchor, int x_offset, int y_offset) {
    QImage mark(width, height, QImage::Format_ARGB32);
    for (int x = 0; x < width; ++x) {
      const Rgba c = column_colour(x);
      for (int y = 0; y < height; ++y)
        mark.setPixel(x, y, qRgb(c.red, c.green, c.blue));
    }
    image_mark(mark, anchor, x_offset, y_offset);
  }

  void use_file(const QString &path, int anchor, int x_offset, int y_offset) {
    s.do_watermark = WatermarkKind::Image;
    s.image = path;
    s.image_position = static_cast<Byte>(anchor);
    s.image_x_offset = x_offset;
    s.image_y_offset = y_offset;
  }

  Image text_stamp(const QString &text) {
    s.do_watermark = WatermarkKind::Text;
    s.text = text;
    s.font = QStringLiteral("DejaVu Sans");
    s.back_opacity = 255;
    font = watermark_font(s);
    EXPECT_TRUE(font);
    return stamp(plain(200, 100), 200, 100);
  }

  QTemporaryDir dir;
};

TEST_F(WatermarkStage, BottomRightWithOffsetsOnVga) {
  columns_mark(100, 20, 8, 10, 10);
  const Image image = stamp(plain(640, 480), 640, 480);
  ASSERT_EQ(image_bpp(image), 24);
  EXPECT_EQ(marked_area(image), QRect(530, 450, 100, 20));
  EXPECT_EQ(pixel(image, 629, 469), column_colour(99));
}

TEST_F(WatermarkStage, InsideTheFrameTopLeftStartsAtTheFrameWidthsPlusOffsets) {
  s.do_frame = FrameKind::Solid;
  s.solid_left = s.solid_top = 20;
  s.solid_right = s.solid_bottom = 30;
  columns_mark(100, 20, 0, 7, 3);
  s.image_boundary = 1;
  EXPECT_EQ(marked_area(stamp(plain(640, 480), 640, 480)), QRect(27, 23, 100, 20));
}

TEST_F(WatermarkStage, WiderThanTheRoomIsCutOnTheRightNeverScaled) {
  columns_mark(100, 20, 0, 10, 5);
  const Image image = stamp(plain(80, 60), 80, 60);
  EXPECT_EQ(marked_area(image), QRect(10, 5, 70, 20));
  for (int x = 10; x < 80; ++x)
    ASSERT_EQ(pixel(image, x, 10), column_colour(x - 10)) << x;
  // No room at all: the picture without a watermark.
  s.image_x_offset = 80;
  EXPECT_TRUE(marked_area(stamp(plain(80, 60), 80, 60)).isEmpty());
}

TEST_F(WatermarkStage, RotationEnlargesTheMarkWithTransparentCorners) {
  QImage mark(20, 20, QImage::Format_ARGB32);
  mark.fill(qRgb(255, 0, 0));
  image_mark(mark, 0, 0, 0);
  s.wm_image_rotation = 45;
  const Image image = stamp(plain(80, 80), 80, 80);
  const QRect area = marked_area(image);
  EXPECT_GT(area.width(), 25);
  EXPECT_GT(area.height(), 25);
  EXPECT_EQ(pixel(image, area.left(), area.top()), grey);
  EXPECT_EQ(pixel(image, area.center().x(), area.center().y()), (Rgba{255, 0, 0, 255}));
}

TEST_F(WatermarkStage, GreyscaleImageKeepsItsTransparency) {
  QImage mark(10, 10, QImage::Format_ARGB32);
  mark.fill(Qt::transparent);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 5; ++x)
      mark.setPixel(x, y, qRgb(255, 0, 0));
  image_mark(mark, 0, 0, 0);
  s.image_greyscale = 1;
  const Image image = stamp(plain(20, 20), 20, 20);
  EXPECT_EQ(pixel(image, 2, 2), (Rgba{76, 76, 76, 255}));
  EXPECT_EQ(pixel(image, 7, 2), grey);
}

TEST_F(WatermarkStage, UnreadableWatermarkFilesLeaveThePictureToConvert) {
  QFile cut(dir.filePath("cut.png"));
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
  cut.write("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16);
  cut.close();
  for (const QString &path : {cut.fileName(), dir.filePath("missing.jpg")}) {
    use_file(path, 0, 0, 0);
    const Image image = stamp(test::make_rgb24(30, 20, [](int, int) { return grey; }), 30, 20);
    ASSERT_EQ(image_bpp(image), 24);
    EXPECT_TRUE(marked_area(image).isEmpty());
  }
}

TEST_F(WatermarkStage, TextIsStampedAtItsAnchorWithTokensForThisPicture) {
  s.text_position = 8;
  const Image expanded = text_stamp(QStringLiteral("%WIDTH% x %height%"));
  const QRect area = marked_area(expanded);
  EXPECT_EQ(area.right(), 200 - 10 - 1);
  EXPECT_EQ(area.bottom(), 100 - 10 - 1);
  EXPECT_EQ(test::pixels(expanded), test::pixels(text_stamp(QStringLiteral("200 x 100"))));
  font.reset();
  EXPECT_TRUE(marked_area(stamp(plain(50, 50), 50, 50)).isEmpty());
}

} // namespace
} // namespace lumbrix
