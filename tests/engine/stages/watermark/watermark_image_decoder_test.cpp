#include "engine/stages/watermark/watermark_image_decoder.h"
#include "support/paths.h"
#include "support/png_reference.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class WatermarkImageDecoder : public ::testing::Test {
protected:
  QString write(const char *name, const QByteArray &bytes) const {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  // Written by Qt's own encoders, independent of the decoder under test.
  QString save(const char *name, int width, int height, const char *format) const {
    QImage image(width, height, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x)
      for (int y = 0; y < height; ++y)
        image.setPixel(x, y, x < width / 2 ? qRgb(200, 40, 40) : qRgb(30, 60, 220));
    EXPECT_TRUE(image.save(dir.filePath(name), format, 95));
    return dir.filePath(name);
  }

  QTemporaryDir dir;
};

// Gamma is corrected for a 2.2 display, as for the picture itself.
TEST_F(WatermarkImageDecoder, PngPixelsAndAlphaAsAnIndependentReaderSeesThem) {
  for (const char *name : {"basn6a08.png", "basn3p08.png", "ftbrn2c08.png", "ftbbn3p08.png",
                           "basn0g04.png", "basn4a16.png", "ibasn6a08.png"}) {
    const QString file = test::corpus_dir() + "pngsuite/" + name;
    test::PngPixels reference;
    ASSERT_TRUE(test::decode_png_reference(file, reference, test::Gamma::display_2_2)) << name;
    const QImage image = decode_watermark_image(file);
    ASSERT_EQ(image.format(), QImage::Format_ARGB32) << name;
    ASSERT_EQ(image.size(), QSize(reference.width, reference.height)) << name;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const std::uint8_t *p = &reference.rgba[4 * (size_t(y) * reference.width + x)];
        ASSERT_EQ(image.pixel(x, y), qRgba(p[0], p[1], p[2], p[3])) << name << " " << x << "," << y;
      }
  }
}

TEST_F(WatermarkImageDecoder, JpegColours) {
  const QImage image = decode_watermark_image(save("c.jpg", 32, 16, "JPG"));
  ASSERT_EQ(image.size(), QSize(32, 16));
  EXPECT_NEAR(qRed(image.pixel(4, 8)), 200, 4);
  EXPECT_NEAR(qBlue(image.pixel(28, 8)), 220, 4);
  EXPECT_EQ(qAlpha(image.pixel(4, 8)), 255);
}

TEST_F(WatermarkImageDecoder, TruncatedDamagedAndForeignFilesAreRefused) {
  for (const char *format : {"PNG", "JPG"}) {
    QFile whole(save("whole", 64, 64, format));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    for (const double part : {0.9, 0.5, 0.1})
      EXPECT_TRUE(
          decode_watermark_image(write("cut", bytes.left(qsizetype(bytes.size() * part)))).isNull())
          << format << part;
  }
  EXPECT_TRUE(decode_watermark_image(dir.filePath("missing.png")).isNull());
  EXPECT_TRUE(decode_watermark_image(write("empty.png", {})).isNull());
  EXPECT_TRUE(decode_watermark_image(write("soi.jpg", "\xff\xd8\xff")).isNull());
  EXPECT_TRUE(decode_watermark_image(save("b.bmp", 4, 4, "BMP")).isNull());
  // libpng's hostile files: bad checksums, chunks declaring gigabytes, a huge IDAT.
  for (const QString &path : test::corpus_pngs(test::CorpusPart::damaged)) {
    if (!path.endsWith("/empty_ancillary_chunks.png") && !path.endsWith("/bad_iCCP.png")) {
      EXPECT_TRUE(decode_watermark_image(path).isNull()) << path.toStdString();
    }
  }
}

TEST_F(WatermarkImageDecoder, PicturesWiderThanAnyImageAreRefused) {
  EXPECT_TRUE(decode_watermark_image(save("wide.png", 30001, 1, "PNG")).isNull());
  EXPECT_TRUE(decode_watermark_image(save("wide.jpg", 30001, 8, "JPG")).isNull());
  EXPECT_FALSE(decode_watermark_image(save("ok.png", 30000, 1, "PNG")).isNull());
}

} // namespace
} // namespace lumbrix
