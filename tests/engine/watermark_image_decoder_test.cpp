#include "engine/watermark_image_decoder.h"
#include "support/paths.h"
#include "support/png_reference.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>

namespace lumbrix {
namespace {

class WatermarkImageDecoder : public ::testing::Test {
protected:
  QString path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }

  QString write(const char *name, const QByteArray &bytes) const {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  QByteArray read(const QString &file_path) const {
    QFile file(file_path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
  }

  // A picture saved by Qt's own writers, independent of the decoder under test.
  QString save(const char *name, const QImage &image, const char *format, int quality = -1) {
    EXPECT_TRUE(image.save(path(name), format, quality));
    return path(name);
  }

  QTemporaryDir dir;
};

QImage colour_blocks(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, x < width / 2 ? qRgb(200, 40, 40) : qRgb(30, 60, 220));
  return image;
}

// Gamma is corrected for a 2.2 display, as for the picture.
TEST_F(WatermarkImageDecoder, PngPixelsAndAlphaAsAnIndependentReaderSeesThem) {
  for (const char *name : {"basn6a08.png", "basn2c08.png", "basn3p08.png", "ftbrn2c08.png",
                           "basn0g04.png", "basn4a16.png", "ibasn6a08.png"}) {
    const QString file = test::corpus_dir() + "pngsuite/" + name;
    test::PngPixels reference;
    ASSERT_TRUE(test::decode_png_reference(file, reference, test::Gamma::display_2_2)) << name;
    const QImage image = decode_watermark_image(file);
    ASSERT_EQ(image.format(), QImage::Format_ARGB32) << name;
    ASSERT_EQ(image.width(), reference.width) << name;
    ASSERT_EQ(image.height(), reference.height) << name;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const std::uint8_t *p = &reference.rgba[4 * (static_cast<size_t>(y) * reference.width + x)];
        ASSERT_EQ(image.pixel(x, y), qRgba(p[0], p[1], p[2], p[3])) << name << " " << x << "," << y;
      }
  }
}

TEST_F(WatermarkImageDecoder, PaletteTransparencyBecomesAlpha) {
  const QImage image = decode_watermark_image(test::corpus_dir() + "pngsuite/ftbbn3p08.png");
  ASSERT_FALSE(image.isNull());
  bool transparent = false;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      transparent = transparent || qAlpha(image.pixel(x, y)) == 0;
  EXPECT_TRUE(transparent);
}

TEST_F(WatermarkImageDecoder, JpegColoursAndGreyJpeg) {
  QImage image = decode_watermark_image(save("c.jpg", colour_blocks(32, 16), "JPG", 100));
  ASSERT_EQ(image.format(), QImage::Format_ARGB32);
  ASSERT_EQ(image.size(), QSize(32, 16));
  for (const auto &[x, expected] : {std::pair{4, qRgb(200, 40, 40)}, {28, qRgb(30, 60, 220)}}) {
    const QRgb got = image.pixel(x, 8);
    EXPECT_NEAR(qRed(got), qRed(expected), 4);
    EXPECT_NEAR(qGreen(got), qGreen(expected), 4);
    EXPECT_NEAR(qBlue(got), qBlue(expected), 4);
    EXPECT_EQ(qAlpha(got), 255);
  }
  QImage grey(16, 16, QImage::Format_Grayscale8);
  grey.fill(100);
  image = decode_watermark_image(save("g.jpg", grey, "JPG", 100));
  ASSERT_EQ(image.size(), QSize(16, 16));
  EXPECT_NEAR(qRed(image.pixel(5, 5)), 100, 2);
  EXPECT_EQ(qRed(image.pixel(5, 5)), qBlue(image.pixel(5, 5)));
}

TEST_F(WatermarkImageDecoder, TruncatedFilesAreRefused) {
  const QByteArray png = read(save("whole.png", colour_blocks(64, 64), "PNG"));
  const QByteArray jpeg = read(save("whole.jpg", colour_blocks(64, 64), "JPG", 90));
  ASSERT_FALSE(decode_watermark_image(path("whole.png")).isNull());
  ASSERT_FALSE(decode_watermark_image(path("whole.jpg")).isNull());
  for (const double part : {0.9, 0.5, 0.1}) {
    const auto cut = [&](const QByteArray &bytes) {
      return bytes.left(qsizetype(bytes.size() * part));
    };
    EXPECT_TRUE(decode_watermark_image(write("cut.png", cut(png))).isNull()) << part;
    EXPECT_TRUE(decode_watermark_image(write("cut.jpg", cut(jpeg))).isNull()) << part;
  }
}

TEST_F(WatermarkImageDecoder, DamagedJpegDataIsRefused) {
  QByteArray jpeg = read(save("whole.jpg", colour_blocks(64, 64), "JPG", 90));
  // Garbage in the middle of the entropy-coded data.
  for (qsizetype i = jpeg.size() / 2; i < jpeg.size() / 2 + 40; ++i)
    jpeg[i] = static_cast<char>(0xFF);
  jpeg[jpeg.size() / 2 + 40] = static_cast<char>(0xD9 - 0x10);
  EXPECT_TRUE(decode_watermark_image(write("bad.jpg", jpeg)).isNull());
}

TEST_F(WatermarkImageDecoder, CorruptPngsAreRefusedWithoutCrashing) {
  const QDir crashers(test::corpus_dir() + "testpngs/crashers");
  const QStringList names = crashers.entryList({"*.png"}, QDir::Files);
  ASSERT_FALSE(names.isEmpty());
  for (const QString &name : names) {
    const QImage image = decode_watermark_image(crashers.filePath(name));
    if (!image.isNull()) {
      EXPECT_LE(qint64(image.width()) * image.height(), 1 << 20) << name.toStdString();
    }
  }
  EXPECT_TRUE(decode_watermark_image(crashers.filePath("badcrc.png")).isNull());
  EXPECT_TRUE(decode_watermark_image(crashers.filePath("badadler.png")).isNull());
}

TEST_F(WatermarkImageDecoder, MissingEmptyAndForeignFilesGiveNothing) {
  EXPECT_TRUE(decode_watermark_image(path("none.png")).isNull());
  EXPECT_TRUE(decode_watermark_image(write("empty.png", {})).isNull());
  EXPECT_TRUE(decode_watermark_image(write("text.png", "not a picture at all")).isNull());
  EXPECT_TRUE(decode_watermark_image(save("b.bmp", colour_blocks(4, 4), "BMP")).isNull());
  EXPECT_TRUE(decode_watermark_image(write("sig.png", "\x89PNG\r\n\x1a\n")).isNull());
  EXPECT_TRUE(decode_watermark_image(write("soi.jpg", "\xff\xd8\xff")).isNull());
}

TEST_F(WatermarkImageDecoder, PicturesWiderThanAnyImageAreRefused) {
  // Valid files that only their size disqualifies.
  EXPECT_TRUE(decode_watermark_image(save("wide.png", colour_blocks(30001, 1), "PNG")).isNull());
  EXPECT_TRUE(decode_watermark_image(save("wide.jpg", colour_blocks(30001, 8), "JPG")).isNull());
  EXPECT_FALSE(decode_watermark_image(save("ok.png", colour_blocks(30000, 1), "PNG")).isNull());
}

TEST_F(WatermarkImageDecoder, PathsWithNonAsciiCharacters) {
  const QString file = save("wäßer ✓.png", colour_blocks(4, 4), "PNG");
  EXPECT_EQ(decode_watermark_image(file).size(), QSize(4, 4));
}

} // namespace
} // namespace lumbrix
