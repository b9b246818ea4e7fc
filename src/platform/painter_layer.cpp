#include "platform/painter_layer.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace lumbrix {
namespace {

void fill_shape(QImage &layer, const QColor &color, const auto &draw) {
  if (layer.isNull())
    return;
  QPainter painter(&layer);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  draw(painter);
}

QImage filtered(const QImage &source, PixelFilter filter) {
  QImage copy = source.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < copy.height(); ++y) {
    auto *row = reinterpret_cast<QRgb *>(copy.scanLine(y));
    std::transform(row, row + copy.width(), row, filter);
  }
  return copy;
}

} // namespace

QImage make_layer(int width, int height, const QColor &fill) {
  if (width <= 0 || height <= 0)
    return {};
  QImage layer(width, height, QImage::Format_ARGB32);
  if (!layer.isNull())
    layer.fill(fill);
  return layer;
}

void fill_rect(QImage &layer, const QRect &rect, const QColor &color) {
  fill_shape(layer, color, [&](QPainter &painter) { painter.drawRect(rect); });
}

void fill_polygon(QImage &layer, const std::vector<QPoint> &corners, const QColor &color) {
  const QPolygon polygon(QList<QPoint>(corners.begin(), corners.end()));
  fill_shape(layer, color, [&](QPainter &painter) { painter.drawPolygon(polygon); });
}

void draw_layer(QImage &target, const QImage &source, int alpha, PixelFilter filter) {
  if (target.isNull() || source.isNull())
    return;
  QPainter painter(&target);
  painter.setOpacity(std::clamp(alpha, 0, 255) / 255.0);
  painter.drawImage(0, 0, filter ? filtered(source, filter) : source);
}

} // namespace lumbrix
