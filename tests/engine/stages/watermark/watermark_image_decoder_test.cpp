#include "engine/stages/watermark/watermark_image_decoder.h"
#include "support/paths.h"
#include "support/png_reference.h"

#include <QDataStream>
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

// The samples as stored, a gAMA chunk ignored, as for the picture itself.
TEST_F(WatermarkImageDecoder, PngPixelsAndAlphaAsAnIndependentReaderSeesThem) {
  for (const char *name : {"basn6a08.png", "basn3p08.png", "ftbrn2c08.png", "ftbbn3p08.png",
                           "basn0g04.png", "basn4a16.png", "ibasn6a08.png"}) {
    const QString file = test::corpus_dir() + "pngsuite/" + name;
    test::PngPixels reference;
    ASSERT_TRUE(test::decode_png_reference(file, reference)) << name;
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

// A BMP written by hand: file header, 40-byte info header, palette, then the pixel rows bottom
// first.
QByteArray bmp(qint32 width, qint32 height, quint16 bpp, quint32 compression,
               const QByteArray &palette, const QByteArray &pixels) {
  QByteArray out;
  QDataStream s(&out, QIODevice::WriteOnly);
  s.setByteOrder(QDataStream::LittleEndian);
  const auto offset = static_cast<quint32>(54 + palette.size());
  s.writeRawData("BM", 2);
  s << quint32(offset + pixels.size()) << quint32(0) << offset << quint32(40) << width << height
    << quint16(1) << bpp << compression << quint32(pixels.size()) << quint32(2835) << quint32(2835)
    << quint32(palette.size() / 4) << quint32(0);
  return out + palette + pixels;
}

// Told apart by contents, not by name; a fourth byte left at zero is no transparency.
TEST_F(WatermarkImageDecoder, BmpFilesOfEveryKindTheChooserOffers) {
  QFile qt_bmp(save("qt.bmp", 4, 2, "BMP"));
  ASSERT_TRUE(qt_bmp.open(QIODevice::ReadOnly));
  const QByteArray written = qt_bmp.readAll();
  const QByteArray palette("\x00\x00\x00\x00\x00\xff\x00\x00", 8); // black, green
  const struct {
    const char *name;
    QByteArray bytes;
    QRgb left;
    QRgb right;
  } cases[] = {
      {"qt.bmp", written, qRgb(200, 40, 40), qRgb(30, 60, 220)},
      {"named.png", written, qRgb(200, 40, 40), qRgb(30, 60, 220)},
      {"zero.dib", bmp(2, 1, 32, 0, {}, QByteArray("\x00\x00\xff\x00\xff\x00\x00\x00", 8)),
       qRgb(255, 0, 0), qRgb(0, 0, 255)},
      {"alpha.bmp", bmp(2, 1, 32, 0, {}, QByteArray("\x00\x00\xff\x80\xff\x00\x00\xff", 8)),
       qRgba(255, 0, 0, 128), qRgb(0, 0, 255)},
      {"run.rle", bmp(2, 1, 8, 1, palette, QByteArray("\x01\x00\x01\x01\x00\x01", 6)),
       qRgb(0, 0, 0), qRgb(0, 255, 0)},
  };
  for (const auto &c : cases) {
    const QImage image = decode_watermark_image(write(c.name, c.bytes));
    ASSERT_FALSE(image.isNull()) << c.name;
    EXPECT_EQ(image.pixel(0, 0), c.left) << c.name;
    EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), c.right) << c.name;
  }
  // Compressed runs declaring more than any layer holds cost nothing to refuse.
  const QByteArray end("\x00\x01", 2);
  EXPECT_TRUE(
      decode_watermark_image(write("wide.bmp", bmp(30001, 1, 8, 1, palette, end))).isNull());
  EXPECT_TRUE(
      decode_watermark_image(write("vast.bmp", bmp(20000, 20000, 8, 1, palette, end))).isNull());
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
  EXPECT_TRUE(decode_watermark_image(write("text.png", "plain text, not a picture")).isNull());
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
