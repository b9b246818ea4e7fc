#pragma once

#include <QImage>
#include <QString>

namespace lumbrix {

// Reads a watermark image file of the kinds the image chooser offers: PNG (libpng), JPEG
// (libjpeg) or BMP (FreeImage), told apart by their contents whatever the file is called. The
// result is Format_ARGB32, opaque where the file has no transparency. Damaged, truncated and
// other files, and pictures above the layer size limit, give a null image: nothing is drawn from
// a half-read file.
QImage decode_watermark_image(const QString &path);

// Whether decode_watermark_image gives a picture; the run's checks refuse a file that does not.
bool watermark_image_decodes(const QString &path);

} // namespace lumbrix
