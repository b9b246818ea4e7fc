#include "engine/stages/watermark/watermark_text_layer.h"

#include "engine/image/image_limits.h"
#include "engine/stages/watermark/watermark_composite.h"
#include "platform/painter_layer.h"
#include "platform/painter_text.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace lumbrix {
namespace {

// Screen resolution the font sizes are meant for.
constexpr double dots_per_inch = 96.0;

// Raster metrics decide the box for both kinds of text.
// Heights are 64-bit: the leading is any 32-bit value, and a line count multiplies it.
struct TextBlock {
  QStringList lines;
  int line_height = 0;
  int width = 0;     // widest line
  qint64 height = 0; // all lines with the leading between them
};

TextBlock measure(const QString &text, const QFont &font, qint64 leading) {
  TextBlock block;
  block.lines = text.split(QStringLiteral("%eol%"), Qt::KeepEmptyParts, Qt::CaseInsensitive);
  for (const QString &line : block.lines) {
    const QSize size = raster_text_size(font, line);
    block.width = std::max(block.width, size.width());
    block.line_height = std::max(block.line_height, size.height());
  }
  const qint64 breaks = block.lines.size() - 1;
  block.height = block.line_height + (block.line_height + leading) * breaks;
  return block;
}

qint64 line_step(const TextBlock &block, qint64 leading) { return block.line_height + leading; }

// Text and background replace the pixels they cover, each keeping its own opacity.
QImage raster_layer(const Settings &s, const TextBlock &block, const QFont &font, QSize box) {
  QImage layer = make_layer(box.width(), box.height(), layer_color(s.back_color, s.back_opacity));
  const QColor color = layer_color(s.font_color, s.text_opacity);
  qint64 y = s.text_padding;
  for (const QString &line : block.lines) {
    draw_raster_text(layer, font,
                     {line_x(s, raster_text_size(font, line).width(), box.width()), coordinate(y)},
                     line, color);
    y += line_step(block, s.font_leading);
  }
  return layer;
}

// Opaque background and text drawn apart, then faded onto the layer one after the other.
QImage vector_layer(const Settings &s, const TextBlock &block, const QFont &font, QSize box) {
  const QImage background = make_layer(box.width(), box.height(), layer_color(s.back_color, 255));
  QImage text = make_layer(box.width(), box.height());
  const QColor color = layer_color(s.font_color, 255);
  qint64 y = s.text_padding;
  for (const QString &line : block.lines) {
    draw_vector_text(text, font,
                     {line_x(s, vector_text_width(font, line), box.width()), coordinate(y)}, line,
                     color);
    y += line_step(block, s.font_leading);
  }
  QImage layer = make_layer(box.width(), box.height());
  draw_layer(layer, background, s.back_opacity);
  draw_layer(layer, text, s.text_opacity);
  return layer;
}

} // namespace

QFont watermark_qfont(const WatermarkFont &font) {
  QFont qfont(font.family);
  qfont.setPixelSize(static_cast<int>(std::lround(font.point_size * dots_per_inch / 72.0)));
  qfont.setBold(font.bold);
  qfont.setItalic(font.italic);
  qfont.setUnderline(font.underline);
  qfont.setStrikeOut(font.strike_out);
  return qfont;
}

int line_x(const Settings &s, int line_width, int box_width) {
  switch (s.text_alignment) {
  case 1:
    return static_cast<int>(std::lround((box_width - line_width) / 2.0));
  case 2:
    return coordinate(qint64{box_width} - line_width - s.text_padding);
  default:
    return s.text_padding;
  }
}

QImage text_watermark_layer(const QString &text, const QFont &font, const Settings &s) {
  const TextBlock block = measure(text, font, s.font_leading);
  const qint64 padding = s.text_padding;
  const qint64 width = block.width + 2 * padding;
  const qint64 height = block.height + 2 * padding;
  if (!layer_size_acceptable(width, height))
    return {};
  const QSize box(static_cast<int>(width), static_cast<int>(height));
  return s.text_antialiasing ? vector_layer(s, block, font, box)
                             : raster_layer(s, block, font, box);
}

} // namespace lumbrix
