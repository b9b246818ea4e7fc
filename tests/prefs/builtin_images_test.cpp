#include "prefs/builtin_images.h"
#include "prefs/image_tables.h"
#include "prefs/window_settings.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// Share of the picture's pixels that are at least half opaque.
double coverage(const QImage &picture) {
  int opaque = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x)
      opaque += qAlpha(picture.pixel(x, y)) >= 128;
  }
  return double(opaque) / (picture.width() * picture.height());
}

TEST(BuiltinImages, EveryImageNameIsDrawnVisiblyAtSmallAndLargeSizes) {
  const QStringList names = pictogram_names();
  EXPECT_EQ(names.size(), 22);
  for (int size : {16, 32}) {
    QList<QImage> drawn;
    for (const QString &name : names) {
      const QImage picture = builtin_image(name, size);
      ASSERT_EQ(picture.size(), QSize(size, size)) << name.toStdString();
      const double covered = coverage(picture);
      EXPECT_GT(covered, 0.2) << name.toStdString();
      EXPECT_LT(covered, 0.95) << name.toStdString();
      EXPECT_FALSE(drawn.contains(picture)) << name.toStdString() << " looks like another";
      drawn.append(picture);
    }
  }
}

TEST(BuiltinImages, UnknownNamesDrawNothing) {
  EXPECT_TRUE(builtin_image(QStringLiteral("Nothing"), 16).isNull());
  QImage canvas(16, 16, QImage::Format_ARGB32_Premultiplied);
  canvas.fill(Qt::transparent);
  QPainter painter(&canvas);
  struct Counting final : PictogramStyle {
    int parts = 0;
    void shape(QPainter &, const QPainterPath &, const QColor &) override { ++parts; }
    void patch(QPainter &, const QPainterPath &, const QColor &) override { ++parts; }
    void line(QPainter &, const QPainterPath &, const QColor &, qreal) override { ++parts; }
    void mark(QPainter &, const QPainterPath &, const QColor &, qreal) override { ++parts; }
  } style;
  EXPECT_FALSE(draw_pictogram(painter, QStringLiteral("new"), style));
  EXPECT_EQ(style.parts, 0);
  EXPECT_TRUE(draw_pictogram(painter, QStringLiteral("New"), style));
  EXPECT_GT(style.parts, 0);
}

TEST(BuiltinImages, LoadFillsEveryTableAtItsSize) {
  settings().ui_size = 4;
  load_builtin_images();
  for (ImageTable table : all_image_tables) {
    const int size = table == ImageTable::Toolbar ? 64 : 16;
    for (const NamedImage &named : image_names(table))
      EXPECT_EQ(image(named.number).size(), QSize(size, size)) << named.name;
  }
  settings().ui_size = 2;
}

} // namespace
} // namespace lumbrix
