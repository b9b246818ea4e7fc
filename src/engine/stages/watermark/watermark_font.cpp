#include "engine/stages/watermark/watermark_font.h"

namespace lumbrix {

std::optional<WatermarkFont> watermark_font(const Settings &s) {
  if (s.font.trimmed().isEmpty() || s.font_size <= 0)
    return std::nullopt;
  // Font Style: 0 regular, 1 bold, 2 italic, 3 bold italic. Font Effect: 1 underline, 2 strike.
  return WatermarkFont{s.font,
                       s.font_size,
                       s.font_style == 1 || s.font_style == 3,
                       s.font_style == 2 || s.font_style == 3,
                       s.font_effect == 1,
                       s.font_effect == 2};
}

} // namespace lumbrix
