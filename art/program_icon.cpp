#include "program_icon.h"

#include "sketch_style.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#ifdef LUMBRIX_ART_SVG
#include <QSvgGenerator>
#endif

namespace {

const QString icon_name = QStringLiteral("Program");
constexpr int sizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

bool save_png(const QString &folder, int size) {
  const QString dir = folder + QStringLiteral("/%1x%1/apps").arg(size);
  QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
  icon.fill(Qt::transparent);
  QPainter painter(&icon);
  paint_sketch(painter, icon_name, size);
  painter.end();
  return QDir().mkpath(dir) && icon.save(dir + QStringLiteral("/lumbrix.png"), "PNG");
}

bool save_svg(const QString &folder) {
#ifdef LUMBRIX_ART_SVG
  constexpr int scalable_size = 256; // the grid the wobble and ink widths are drawn for
  const QString dir = folder + QStringLiteral("/scalable/apps");
  if (!QDir().mkpath(dir))
    return false;
  QSvgGenerator svg;
  svg.setFileName(dir + QStringLiteral("/lumbrix.svg"));
  svg.setSize(QSize(scalable_size, scalable_size));
  svg.setViewBox(QRect(0, 0, scalable_size, scalable_size));
  svg.setTitle(QStringLiteral("Lumbrix"));
  QPainter painter;
  if (!painter.begin(&svg))
    return false;
  paint_sketch(painter, icon_name, scalable_size);
  return painter.end();
#else
  Q_UNUSED(folder);
  return true;
#endif
}

} // namespace

bool render_program_icon(const QString &folder) {
  for (int size : sizes) {
    if (!save_png(folder, size))
      return false;
  }
  return save_svg(folder);
}
