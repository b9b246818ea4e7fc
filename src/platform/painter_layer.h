#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>

#include <vector>

namespace lumbrix {

// Drawing layers: QImage::Format_ARGB32 images, straight (not premultiplied) alpha, drawn on
// with QPainter. A null QImage stands for a layer that could not be made; every operation
// accepts one and does nothing.

// A width x height layer filled with fill (transparent by default); null for an empty or
// unallocatable size.
QImage make_layer(int width, int height, const QColor &fill = Qt::transparent);

// Antialiased fills, blended over what is there.
void fill_rect(QImage &layer, const QRect &rect, const QColor &color);
void fill_polygon(QImage &layer, const std::vector<QPoint> &corners, const QColor &color);

// Maps one source pixel (ARGB) to the pixel drawn in its place.
using PixelFilter = QRgb (*)(QRgb);

// Blends source over target at (0, 0), its alpha scaled by alpha (0..255); when filter is given
// every source pixel passes through it first.
void draw_layer(QImage &target, const QImage &source, int alpha, PixelFilter filter = nullptr);

} // namespace lumbrix
