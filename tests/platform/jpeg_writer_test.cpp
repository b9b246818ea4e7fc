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

TEST(JpegWriterTest, FailuresLeaveNoFile) {
  QTemporaryDir dir;
  EXPECT_FALSE(write_jpeg(two_halves(), dir.filePath(QStringLiteral("missing/shot.jpg")), 90));
  const QString path = dir.filePath(QStringLiteral("empty.jpg"));
  EXPECT_FALSE(write_jpeg(QImage(), path, 90));
  EXPECT_FALSE(QFile::exists(path));
}

} // namespace
} // namespace lumbrix
