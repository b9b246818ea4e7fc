#include "engine/stages/watermark/watermark_image_layer.h"

#include "engine/settings/settings.h"
#include "engine/stages/watermark/watermark_image_decoder.h"
#include "platform/painter_layer.h"

namespace lumbrix {

QRgb grey_pixel(QRgb pixel) {
  const int grey = (77 * qRed(pixel) + 150 * qGreen(pixel) + 29 * qBlue(pixel)) >> 8;
  return qRgba(grey, grey, grey, qAlpha(pixel));
}

// Drawn onto a transparent layer whatever the file holds, so Image Opacity makes an opaque
// picture see-through instead of darkening it.
QImage image_watermark_layer(const Settings &s) {
  const QImage picture = decode_watermark_image(s.image);
  QImage layer = make_layer(picture.width(), picture.height());
  draw_layer(layer, picture, s.image_opacity, s.image_greyscale ? grey_pixel : nullptr);
  return layer;
}

} // namespace lumbrix
