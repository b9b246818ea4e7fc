#pragma once

#include "engine/settings/settings.h"

#include <QImage>
#include <QString>

namespace lumbrix {

// The grey of a pixel, (77 red + 150 green + 29 blue) / 256, with the pixel's own alpha.
QRgb grey_pixel(QRgb pixel);

// The image watermark: the file named by Image drawn with Image Opacity, through the grey filter
// when Image Greyscale is set. Null when the file cannot be decoded.
QImage image_watermark_layer(const Settings &s);

} // namespace lumbrix
