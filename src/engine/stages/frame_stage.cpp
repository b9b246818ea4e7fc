#include "engine/image/deep_picture.h"
#include "engine/image/image_conversion.h"
#include "engine/image/image_limits.h"
#include "engine/stages/alpha_channel.h"
#include "engine/stages/stages.h"
#include "engine/stages/watermark/watermark_composite.h"
#include "platform/painter_layer.h"

#include <algorithm>
#include <vector>

namespace lumbrix {
namespace {

QColor solid_color(const QString &text) { return layer_color(text, 255); }

// The frame's pixels inside strip, on a layer of the strip's size. Corner squares first, each
// in the colour of the top or bottom band, then the bands with mitred ends over them: every
// corner splits along its diagonal and the antialiased seams have colour underneath instead of
// a gap. Later bands cover earlier ones where they overlap.
QImage frame_piece(const Settings &s, int w, int h, const QRect &strip) {
  const qint64 l = s.solid_left, r = s.solid_right, t = s.solid_top, b = s.solid_bottom;
  const QColor left = solid_color(s.solid_left_color), right = solid_color(s.solid_right_color);
  const QColor top = solid_color(s.solid_top_color), bottom = solid_color(s.solid_bottom_color);
  const QPoint origin = strip.topLeft();
  QImage piece = make_layer(strip.width(), strip.height());
  const auto square = [&](qint64 x, qint64 y, qint64 width, qint64 height, const QColor &color) {
    fill_rect(piece,
              QRect(coordinate(x), coordinate(y), coordinate(width), coordinate(height))
                  .translated(-origin),
              color);
  };
  const auto at = [&origin](qint64 x, qint64 y) {
    return QPoint(coordinate(x), coordinate(y)) - origin;
  };
  square(0, 0, l, t, top);
  square(w - r, 0, r, t, right);
  square(w - r, h - b, r, b, bottom);
  square(0, h - b, l, b, left);
  fill_polygon(piece, {at(0, 0), at(w, 0), at(w - r, t), at(l, t)}, top);
  fill_polygon(piece, {at(w, 0), at(w, h), at(w - r, h - b), at(w - r, t)}, right);
  fill_polygon(piece, {at(w, h), at(0, h), at(l, h - b), at(w - r, h - b)}, bottom);
  fill_polygon(piece, {at(0, h), at(0, 0), at(l, t), at(l, h - b)}, left);
  return piece;
}

// Disjoint strips along the edges that hold every pixel the bands can reach: only these are
// drawn and go through FreeImage, the inside stays as it is.
std::vector<QRect> band_strips(const Settings &s, int w, int h) {
  const qint64 top = std::clamp<qint64>(s.solid_top, 0, h);
  const qint64 bottom = std::clamp<qint64>(qint64{h} - s.solid_bottom, top, h);
  const qint64 left = std::clamp<qint64>(s.solid_left, 0, w);
  const qint64 right = std::clamp<qint64>(qint64{w} - s.solid_right, left, w);
  const auto rect = [](qint64 x, qint64 y, qint64 width, qint64 height) {
    return QRect(int(x), int(y), int(width), int(height));
  };
  return {rect(0, 0, w, top), rect(0, bottom, w, h - bottom), rect(0, top, left, bottom - top),
          rect(right, top, w - right, bottom - top)};
}

// One opacity for the whole frame, so overlapping seams do not show through twice.
QImage faded(const QImage &piece, int opacity) {
  if (opacity >= 255)
    return piece;
  QImage result = make_layer(piece.width(), piece.height());
  draw_layer(result, piece, opacity);
  return result;
}

Image made_opaque(Image strip) {
  if (!is_deep_rgba(strip))
    return convert_image(std::move(strip), FreeImage_ConvertTo24Bits);
  for (int y = 0; y < image_height(strip); ++y)
    for (int x = 0; x < image_width(strip); ++x)
      deep_row(strip.get(), y)[x].alpha = 65535;
  return strip;
}

// On a transparent picture a strip is framed as on an opaque one and turns opaque; the rest of
// the picture keeps its alpha.
Image frame_opaque_strip(Image picture, const Image &piece, QPoint at) {
  Image strip{FreeImage_Copy(picture.get(), at.x(), at.y(), at.x() + image_width(piece),
                             at.y() + image_height(piece))};
  strip = composite_at(made_opaque(std::move(strip)), piece, QPoint());
  if (!is_deep_rgba(strip))
    strip = convert_image(std::move(strip), FreeImage_ConvertTo32Bits);
  if (strip)
    FreeImage_Paste(picture.get(), strip.get(), at.x(), at.y(), 256);
  return picture;
}

} // namespace

Rgba parse_rgba_color(const QString &text, int alpha) {
  const Rgb c = parse_hex_color(text);
  return {c.red, c.green, c.blue, static_cast<std::uint8_t>(std::clamp(alpha, 0, 255))};
}

Image frame_stage(Image image, const Settings &s, int width, int height) {
  if (s.do_frame == FrameKind::None || !image)
    return image;
  // Any frame setting leaves the picture 24-bit, or 32-bit when it has alpha, drawn or not; one
  // of 16-bit samples stays as it is.
  const bool alpha = has_alpha(image) || is_deep_rgba(image);
  if (!is_deep_rgba(image) && image_bpp(image) != (alpha ? 32 : 24))
    image = convert_image(std::move(image),
                          alpha ? FreeImage_ConvertTo32Bits : FreeImage_ConvertTo24Bits);
  if (s.do_frame != FrameKind::Solid || !image)
    return image;
  for (const QRect &strip : band_strips(s, width, height)) {
    if (strip.isEmpty())
      continue;
    const Image piece =
        layer_to_bitmap(faded(frame_piece(s, width, height, strip), s.solid_opacity));
    image = alpha ? frame_opaque_strip(std::move(image), piece, strip.topLeft())
                  : composite_at(std::move(image), piece, strip.topLeft());
  }
  return image;
}

} // namespace lumbrix
