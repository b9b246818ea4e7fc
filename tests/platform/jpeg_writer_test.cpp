#include "platform/jpeg_writer.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// Left half red, right half blue, with a transparent band that must come out as colour.
QImage two_halves() {
  QImage image(64, 32, QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      image.setPixel(x, y, x < 32 ? qRgb(220, 20, 20) : qRgb(20, 20, 220));
  }
  return image;
}

TEST(JpegWriterTest, WritesAJpegOfTheImage) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("shot.jpg"));
  ASSERT_TRUE(write_jpeg(two_halves(), path, 90));
  QImageReader reader(path);
  EXPECT_EQ(reader.format(), QByteArray("jpeg"));
  const QImage back = reader.read();
  ASSERT_EQ(back.size(), QSize(64, 32));
  const QColor left = back.pixelColor(8, 16);
  const QColor right = back.pixelColor(56, 16);
  EXPECT_NEAR(left.red(), 220, 12);
  EXPECT_NEAR(left.blue(), 20, 12);
  EXPECT_NEAR(right.red(), 20, 12);
  EXPECT_NEAR(right.blue(), 220, 12);
}

TEST(JpegWriterTest, HigherQualityKeepsMoreDetail) {
  QTemporaryDir dir;
  QImage noise(96, 96, QImage::Format_RGB32);
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 96; ++x)
      noise.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (x + y * 53) % 256));
  }
  const QString low = dir.filePath(QStringLiteral("low.jpg"));
  const QString high = dir.filePath(QStringLiteral("high.jpg"));
  ASSERT_TRUE(write_jpeg(noise, low, 20));
  ASSERT_TRUE(write_jpeg(noise, high, 90));
  EXPECT_GT(QFile(high).size(), QFile(low).size());
}

TEST(JpegWriterTest, FailuresLeaveNoFile) {
  QTemporaryDir dir;
  EXPECT_FALSE(write_jpeg(two_halves(), dir.filePath(QStringLiteral("missing/shot.jpg")), 90));
  const QString path = dir.filePath(QStringLiteral("empty.jpg"));
  EXPECT_FALSE(write_jpeg(QImage(), path, 90));
  EXPECT_FALSE(QFile::exists(path));
}

} // namespace
} // namespace lumbrix
