#include "platform/painter_text.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace lumbrix {
namespace {

QFont aliased(QFont font) {
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

} // namespace

QSize raster_text_size(const QFont &font, const QString &text) {
  const QFontMetrics metrics(aliased(font));
  return {metrics.horizontalAdvance(text), metrics.height()};
}

void draw_raster_text(QImage &layer, const QFont &font, QPoint at, const QString &text,
                      const QColor &color) {
  if (layer.isNull())
    return;
  const QFont raster = aliased(font);
  QPainter painter(&layer);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.setFont(raster);
  painter.setPen(color);
  painter.drawText(at + QPoint(0, QFontMetrics(raster).ascent()), text);
}

int vector_text_width(const QFont &font, const QString &text) {
  return static_cast<int>(std::lround(QFontMetricsF(font).horizontalAdvance(text)));
}

void draw_vector_text(QImage &layer, const QFont &font, QPoint at, const QString &text,
                      const QColor &color) {
  if (layer.isNull())
    return;
  QPainterPath outline;
  outline.addText(QPointF(at.x(), at.y() + QFontMetricsF(font).ascent()), font, text);
  QPainter painter(&layer);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillPath(outline, color);
}

} // namespace lumbrix
