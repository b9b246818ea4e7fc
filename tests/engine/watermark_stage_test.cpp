#include "engine/run_state.h"
#include "engine/settings.h"
#include "engine/stages.h"
#include "engine/watermark_font.h"
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

Image plain(int width, int height, Rgba color = grey) {
  return test::make_rgb24(width, height, [=](int, int) { return color; });
}

// Colour of watermark column x: every column different, so scaling or a shift would show.
QRgb column_colour(int x) { return qRgb(x % 256, 255 - x % 256, (x * 7) % 256); }

class WatermarkStage : public ::testing::Test {
protected:
  static void SetUpTestSuite() { ASSERT_TRUE(ensure_gui_application()); }

  void SetUp() override {
    set_defaults(true);
    reset_run_state();
    release_watermark_font();
  }
  void TearDown() override { release_watermark_font(); }

  // An image watermark of width x height, opaque, coloured by column, at the given anchor.
  void image_mark(int width, int height, int anchor, int x_offset, int y_offset) {
    QImage mark(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        mark.setPixel(x, y, column_colour(x));
    use_image(mark, anchor, x_offset, y_offset);
  }

  void use_image(const QImage &mark, int anchor, int x_offset, int y_offset) {
    const QString path = dir.filePath("mark.png");
    ASSERT_TRUE(mark.save(path, "PNG"));
    use_file(path, anchor, x_offset, y_offset);
  }

  void use_file(const QString &path, int anchor, int x_offset, int y_offset) {
    Settings &s = settings();
    s.do_watermark = 2;
    s.image = path;
    s.image_position = static_cast<Byte>(anchor);
    s.image_x_offset = x_offset;
    s.image_y_offset = y_offset;
  }

  QString write(const char *name, const QByteArray &bytes) {
    QFile file(dir.filePath(QString::fromLatin1(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  static void text_mark(const QString &text) {
    Settings &s = settings();
    s.do_watermark = 1;
    s.text = text;
    s.font = QStringLiteral("DejaVu Sans");
    s.font_color = QStringLiteral("FFFFFF");
    s.back_opacity = 255;
    s.back_color = QStringLiteral("000000");
    ASSERT_TRUE(load_watermark_font());
  }

  QTemporaryDir dir;
};

Rgba as_rgba(QRgb c) {
  return {static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
          static_cast<std::uint8_t>(qBlue(c)), 255};
}

// The first and last columns and rows that differ from the plain grey picture.
QRect marked_area(const Image &image) {
  QRect box;
  for (int y = 0; y < image_height(image); ++y)
    for (int x = 0; x < image_width(image); ++x)
      if (!(pixel(image, x, y) == grey))
        box |= QRect(x, y, 1, 1);
  return box;
}

TEST_F(WatermarkStage, OffLeavesTheImageAsItWas) {
  Image image = test::make_rgba32(4, 4, test::distinct_color);
  FIBITMAP *before = image.get();
  image = watermark_stage(std::move(image), 4, 4);
  EXPECT_EQ(image.get(), before);
}

TEST_F(WatermarkStage, BottomRightWithOffsetsOnVga) {
  image_mark(100, 20, 8, 10, 10);
  const Image image = watermark_stage(plain(640, 480), 640, 480);
  ASSERT_EQ(image_bpp(image), 24);
  EXPECT_EQ(marked_area(image), QRect(530, 450, 100, 20));
  EXPECT_EQ(pixel(image, 530, 450), as_rgba(column_colour(0)));
  EXPECT_EQ(pixel(image, 629, 469), as_rgba(column_colour(99)));
}

TEST_F(WatermarkStage, InsideTheFrameTopLeftStartsAtTheFrameWidthsPlusOffsets) {
  Settings &s = settings();
  s.do_frame = 1;
  s.solid_left = s.solid_top = 20;
  s.solid_right = s.solid_bottom = 30;
  image_mark(100, 20, 0, 7, 3);
  s.image_boundary = 1;
  const Image image = watermark_stage(plain(640, 480), 640, 480);
  EXPECT_EQ(marked_area(image), QRect(27, 23, 100, 20));
  s.image_boundary = 0;
  EXPECT_EQ(marked_area(watermark_stage(plain(640, 480), 640, 480)), QRect(7, 3, 100, 20));
}

TEST_F(WatermarkStage, WiderThanTheRoomIsCutOnTheRightNeverScaled) {
  image_mark(100, 20, 0, 10, 5);
  const Image image = watermark_stage(plain(80, 60), 80, 60);
  EXPECT_EQ(marked_area(image), QRect(10, 5, 70, 20));
  for (int x = 10; x < 80; ++x)
    ASSERT_EQ(pixel(image, x, 10), as_rgba(column_colour(x - 10))) << x;
  // Anchored right: still the left part of the mark that stays.
  image_mark(100, 20, 2, 10, 5);
  const Image right = watermark_stage(plain(80, 60), 80, 60);
  EXPECT_EQ(marked_area(right), QRect(0, 5, 70, 20));
  EXPECT_EQ(pixel(right, 0, 10), as_rgba(column_colour(0)));
}

TEST_F(WatermarkStage, NoRoomLeftReturnsThePictureWithoutWatermark) {
  image_mark(20, 20, 0, 80, 0);
  Image image = watermark_stage(plain(80, 60), 80, 60);
  ASSERT_TRUE(image);
  EXPECT_TRUE(marked_area(image).isEmpty());
  Settings &s = settings();
  s.do_frame = 1;
  s.solid_left = s.solid_right = 50;
  s.image_boundary = 1;
  s.image_x_offset = 0;
  image = watermark_stage(plain(80, 60), 80, 60);
  ASSERT_TRUE(image);
  EXPECT_TRUE(marked_area(image).isEmpty());
}

TEST_F(WatermarkStage, NegativeOffsetsShowWhatStaysOnThePicture) {
  image_mark(30, 10, 0, -10, -4);
  const Image image = watermark_stage(plain(80, 60), 80, 60);
  EXPECT_EQ(marked_area(image), QRect(0, 0, 20, 6));
  EXPECT_EQ(pixel(image, 0, 0), as_rgba(column_colour(10)));
}

TEST_F(WatermarkStage, RotationEnlargesTheMarkWithTransparentCorners) {
  QImage mark(20, 20, QImage::Format_ARGB32);
  mark.fill(qRgb(255, 0, 0));
  use_image(mark, 0, 0, 0);
  settings().wm_image_rotation = 45;
  const Image image = watermark_stage(plain(80, 80), 80, 80);
  const QRect area = marked_area(image);
  EXPECT_GT(area.width(), 20);
  EXPECT_GT(area.height(), 20);
  EXPECT_EQ(pixel(image, area.left(), area.top()), grey);
  EXPECT_EQ(pixel(image, area.center().x(), area.center().y()), (Rgba{255, 0, 0, 255}));
}

TEST_F(WatermarkStage, GreyscaleImageKeepsItsTransparency) {
  QImage mark(10, 10, QImage::Format_ARGB32);
  mark.fill(Qt::transparent);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 5; ++x)
      mark.setPixel(x, y, qRgb(255, 0, 0));
  use_image(mark, 0, 0, 0);
  settings().image_greyscale = 1;
  const Image image = watermark_stage(plain(20, 20), 20, 20);
  EXPECT_EQ(pixel(image, 2, 2), (Rgba{76, 76, 76, 255}));
  EXPECT_EQ(pixel(image, 7, 2), grey);
}

TEST_F(WatermarkStage, UnreadableWatermarkFilesLeaveThePictureToConvert) {
  QImage mark(40, 40, QImage::Format_RGB32);
  mark.fill(qRgb(1, 2, 3));
  ASSERT_TRUE(mark.save(dir.filePath("whole.png"), "PNG"));
  ASSERT_TRUE(mark.save(dir.filePath("whole.jpg"), "JPG"));
  QFile png(dir.filePath("whole.png"));
  QFile jpeg(dir.filePath("whole.jpg"));
  ASSERT_TRUE(png.open(QIODevice::ReadOnly) && jpeg.open(QIODevice::ReadOnly));
  const QByteArray png_bytes = png.readAll();
  const QByteArray jpeg_bytes = jpeg.readAll();
  for (const QString &path :
       {write("cut.png", png_bytes.left(png_bytes.size() / 2)),
        write("cut.jpg", jpeg_bytes.left(jpeg_bytes.size() / 2)), write("empty.png", {}),
        write("junk.jpg", "\xff\xd8\xff garbage"), dir.filePath("missing.png")}) {
    use_file(path, 0, 0, 0);
    Image image = watermark_stage(test::make_rgba32(30, 20, [](int, int) { return grey; }), 30, 20);
    ASSERT_EQ(image_bpp(image), 24) << path.toStdString();
    EXPECT_TRUE(marked_area(image).isEmpty()) << path.toStdString();
  }
}

TEST_F(WatermarkStage, TextIsStampedAtItsAnchor) {
  text_mark(QStringLiteral("Stamp"));
  settings().text_position = 8;
  const Image image = watermark_stage(plain(200, 100), 200, 100);
  const QRect area = marked_area(image);
  ASSERT_FALSE(area.isEmpty());
  EXPECT_EQ(area.right(), 200 - 10 - 1);
  EXPECT_EQ(area.bottom(), 100 - 10 - 1);
  EXPECT_EQ(pixel(image, area.left(), area.top()), (Rgba{0, 0, 0, 255}));
}

TEST_F(WatermarkStage, TextTokensShowThisPicturesSize) {
  text_mark(QStringLiteral("%WIDTH% x %height%"));
  const Image expanded = watermark_stage(plain(200, 100), 200, 100);
  text_mark(QStringLiteral("200 x 100"));
  const Image literal = watermark_stage(plain(200, 100), 200, 100);
  EXPECT_EQ(test::pixels(expanded), test::pixels(literal));
  text_mark(QStringLiteral("0 x 0"));
  EXPECT_NE(test::pixels(watermark_stage(plain(200, 100), 200, 100)), test::pixels(literal));
}

TEST_F(WatermarkStage, DefaultBackgroundOpacityLeavesTheBoxPracticallyInvisible) {
  text_mark(QStringLiteral("ghost"));
  settings().back_opacity = 1;
  settings().text_padding = 10;
  settings().text_position = 0;
  settings().text_x_offset = settings().text_y_offset = 0;
  const Image image = watermark_stage(plain(200, 100), 200, 100);
  const Rgba corner = pixel(image, 1, 1); // inside the padding: background only
  EXPECT_NEAR(corner.red, grey.red, 1);
}

TEST_F(WatermarkStage, WithoutAFontNothingIsDrawn) {
  settings().do_watermark = 1;
  settings().text = QStringLiteral("no font loaded");
  const Image image = watermark_stage(plain(50, 50), 50, 50);
  ASSERT_TRUE(image);
  EXPECT_TRUE(marked_area(image).isEmpty());
}

} // namespace
} // namespace lumbrix
