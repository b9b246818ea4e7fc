#pragma once

#include <QString>

#include <optional>

namespace lumbrix {

// The font a text watermark is drawn with, loaded by the front before the worker starts and
// released after it ends. A family the system lacks is substituted when drawing.
struct WatermarkFont {
  QString family;
  int point_size = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
};

// From Font, Font Size, Font Style and Font Effect. False (nothing loaded) for an empty name or
// a size that is not positive.
bool load_watermark_font();
void release_watermark_font();
const std::optional<WatermarkFont> &watermark_font();

} // namespace lumbrix
