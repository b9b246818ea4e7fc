#pragma once

#include "engine/image/image.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QString>

namespace lumbrix {

// How drawn layers (frame, watermark) reach the picture. A layer's pixels go to FreeImage as
// they are: the same bitmap a PNG round trip would give, without encoding one.

// The largest watermark layer drawn or decoded, in pixels (a quarter gigabyte at 32 bits): a
// tiny file or a long text cannot ask for more memory than that.
inline constexpr qint64 max_layer_pixels = 64LL * 1024 * 1024;
bool layer_size_acceptable(qint64 width, qint64 height);

// A colour text RRGGBB with alpha 0..255, as drawn on layers.
QColor layer_color(const QString &text, int alpha);

// A 32-bit bitmap with the layer's colours and straight alpha; empty for a null layer.
Image layer_to_bitmap(const QImage &layer);

// Lays the 32-bit mark over the 24 or 32-bit picture with its top-left corner at `at` (top-left
// origin); what falls outside the picture is cut off. Only the covered rectangle is blended: the
// picture elsewhere is what a transparent full-size layer would leave. Every depth is blended
// with the "over" operator rounded to the nearest level: a 24-bit picture as an opaque one, a
// 32-bit or FIT_RGBA16 one with its alpha. When a depth is wrong the picture is returned as it
// was.
Image composite_at(Image picture, const Image &mark, QPoint at);

} // namespace lumbrix
