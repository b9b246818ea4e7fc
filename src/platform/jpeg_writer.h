#pragma once

#include <QImage>
#include <QString>

namespace lumbrix {

// Writes image as a baseline colour JPEG of the given quality (1..100); alpha is dropped. False
// when the image is empty or the file cannot be written completely; a failed write leaves no file.
bool write_jpeg(const QImage &image, const QString &path, int quality);

} // namespace lumbrix
