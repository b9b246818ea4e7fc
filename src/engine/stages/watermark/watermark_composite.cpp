#include "engine/stages/watermark/watermark_composite.h"

#include "engine/image/deep_picture.h"
#include "engine/stages/stages.h"

#include <QRect>

#include <cstdint>
#include <cstring>

namespace lumbrix {
namespace {

// FreeImage stores rows bottom-up.
BYTE *row(const Image &image, int y) {
  return FreeImage_GetScanLine(image.get(), image_height(image) - 1 - y);
}

// QImage::Format_ARGB32 is a 32-bit 0xAARRGGBB value per pixel; FreeImage's 32-bit pixel is
// bytes in FI_RGBA_* order. Where those agree rows are copied whole.
constexpr bool same_pixel_layout = Q_BYTE_ORDER == Q_LITTLE_ENDIAN && FI_RGBA_BLUE == 0 &&
                                   FI_RGBA_GREEN == 1 && FI_RGBA_RED == 2 && FI_RGBA_ALPHA == 3;

void copy_row(const QRgb *source, BYTE *target, int width) {
  if constexpr (same_pixel_layout) {
    std::memcpy(target, source, 4 * static_cast<std::size_t>(width));
  } else {
    for (int x = 0; x < width; ++x, target += 4) {
      target[FI_RGBA_RED] = static_cast<BYTE>(qRed(source[x]));
      target[FI_RGBA_GREEN] = static_cast<BYTE>(qGreen(source[x]));
      target[FI_RGBA_BLUE] = static_cast<BYTE>(qBlue(source[x]));
      target[FI_RGBA_ALPHA] = static_cast<BYTE>(qAlpha(source[x]));
    }
  }
}

// Straight colours: alpha = m + p (255 - m) / 255, colour = (c_m m 255 + c_p p (255 - m)) /
// (alpha 255), both rounded to the nearest level. The picture's alpha is p; the blended alpha
// is returned. With p 255 this is m c_m + (255 - m) c_p over 255, rounded.
BYTE blend_over(const BYTE *mark, BYTE *picture, int p) {
  const int m = mark[FI_RGBA_ALPHA];
  const int mark_weight = m * 255;
  const int picture_weight = p * (255 - m);
  const int total = mark_weight + picture_weight;
  for (const int c : {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE})
    picture[c] = static_cast<BYTE>(
        total == 0 ? 0 : (mark[c] * mark_weight + picture[c] * picture_weight + total / 2) / total);
  return static_cast<BYTE>((total + 127) / 255);
}

// The same over 16-bit samples, the mark's levels widened.
void blend_over_deep(const BYTE *mark, FIRGBA16 &picture) {
  constexpr std::uint64_t full = 65535;
  const std::uint64_t m = widened(mark[FI_RGBA_ALPHA]);
  const std::uint64_t mark_weight = m * full;
  const std::uint64_t picture_weight = picture.alpha * (full - m);
  const std::uint64_t total = mark_weight + picture_weight;
  const auto mix = [&](BYTE front, WORD &back) {
    back = static_cast<WORD>(
        total == 0 ? 0
                   : (widened(front) * mark_weight + back * picture_weight + total / 2) / total);
  };
  mix(mark[FI_RGBA_RED], picture.red);
  mix(mark[FI_RGBA_GREEN], picture.green);
  mix(mark[FI_RGBA_BLUE], picture.blue);
  picture.alpha = static_cast<WORD>((total + full / 2) / full);
}

// A 24-bit picture is opaque: its pixels blend as ones of alpha 255 and keep no alpha.
void composite_over(const Image &picture, const Image &mark, const QRect &covered, QPoint at) {
  const bool deep = is_deep_rgba(picture);
  const int bytes = image_bpp(picture) / 8;
  for (int y = covered.top(); y <= covered.bottom(); ++y) {
    const BYTE *front = row(mark, y - at.y());
    BYTE *back = row(picture, y);
    for (int x = covered.left(); x <= covered.right(); ++x) {
      const BYTE *pixel = front + 4 * (x - at.x());
      BYTE *target = back + bytes * x;
      if (deep)
        blend_over_deep(pixel, *reinterpret_cast<FIRGBA16 *>(target));
      else if (bytes == 4)
        target[FI_RGBA_ALPHA] = blend_over(pixel, target, target[FI_RGBA_ALPHA]);
      else
        blend_over(pixel, target, 255);
    }
  }
}

} // namespace

bool layer_size_acceptable(qint64 width, qint64 height) {
  // Divided rather than multiplied: both sides may be far past the 32-bit range.
  return width > 0 && height > 0 && width <= max_layer_pixels / height;
}

QColor layer_color(const QString &text, int alpha) {
  const Rgba c = parse_rgba_color(text, alpha);
  return QColor(c.red, c.green, c.blue, c.alpha);
}

Image layer_to_bitmap(const QImage &layer) {
  if (layer.isNull())
    return {};
  const QImage argb = layer.convertToFormat(QImage::Format_ARGB32);
  Image bitmap{FreeImage_Allocate(argb.width(), argb.height(), 32, FI_RGBA_RED_MASK,
                                  FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK)};
  if (!bitmap)
    return bitmap;
  for (int y = 0; y < argb.height(); ++y)
    copy_row(reinterpret_cast<const QRgb *>(argb.constScanLine(y)), row(bitmap, y), argb.width());
  return bitmap;
}

Image composite_at(Image picture, const Image &mark, QPoint at) {
  const int depth = is_deep_rgba(picture) ? 32 : image_bpp(picture);
  if ((depth != 24 && depth != 32) || image_bpp(mark) != 32)
    return picture;
  const QRect covered = QRect(at, QSize(image_width(mark), image_height(mark))) &
                        QRect(0, 0, image_width(picture), image_height(picture));
  if (covered.isEmpty())
    return picture;
  composite_over(picture, mark, covered, at);
  return picture;
}

} // namespace lumbrix
