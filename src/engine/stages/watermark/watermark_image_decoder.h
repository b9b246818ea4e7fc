#pragma once

#include <QImage>
#include <QString>

namespace lumbrix {

// Reads a watermark image file, PNG (libpng) or JPEG (libjpeg), told apart by their signatures.
// The result is Format_ARGB32, opaque where the file has no transparency. Damaged, truncated
// and unsupported files, and pictures above the layer size limit, give a null image: nothing
// is drawn from a half-read file.
QImage decode_watermark_image(const QString &path);

} // namespace lumbrix
