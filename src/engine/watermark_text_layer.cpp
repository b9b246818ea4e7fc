#include "engine/watermark_text_layer.h"

#include "engine/watermark_composite.h"
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
struct TextBlock {
  QStringList lines;
  int line_height = 0;
  int width = 0;  // widest line
  int height = 0; // all lines with the leading between them
};

TextBlock measure(const QString &text, const QFont &font, int leading) {
  TextBlock block;
  block.lines = text.split(QStringLiteral("%eol%"), Qt::KeepEmptyParts, Qt::CaseInsensitive);
  for (const QString &line : block.lines) {
    const QSize size = raster_text_size(font, line);
    block.width = std::max(block.width, size.width());
    block.line_height = std::max(block.line_height, size.height());
  }
  const int breaks = static_cast<int>(block.lines.size()) - 1;
  block.height = block.line_height + (block.line_height + leading) * breaks;
  return block;
}

int line_step(const TextBlock &block, int leading) { return block.line_height + leading; }

// Text and background replace the pixels they cover, each keeping its own opacity.
QImage raster_layer(const Settings &s, const TextBlock &block, const QFont &font, QSize box) {
  QImage layer = make_layer(box.width(), box.height(), layer_color(s.back_color, s.back_opacity));
  const QColor color = layer_color(s.font_color, s.text_opacity);
  int y = s.text_padding;
  for (const QString &line : block.lines) {
    draw_raster_text(layer, font, {line_x(s, raster_text_size(font, line).width(), box.width()), y},
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
  int y = s.text_padding;
  for (const QString &line : block.lines) {
    draw_vector_text(text, font, {line_x(s, vector_text_width(font, line), box.width()), y}, line,
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
    return box_width - line_width - s.text_padding;
  default:
    return s.text_padding;
  }
}

QImage text_watermark_layer(const QString &text, const QFont &font, const Settings &s) {
  const TextBlock block = measure(text, font, s.font_leading);
  const int padding = s.text_padding;
  const QSize box(block.width + 2 * padding, block.height + 2 * padding);
  if (!layer_size_acceptable(box.width(), box.height()))
    return {};
  return s.text_antialiasing ? vector_layer(s, block, font, box)
                             : raster_layer(s, block, font, box);
}

} // namespace lumbrix
