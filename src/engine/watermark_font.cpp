#include "engine/watermark_font.h"

#include "engine/settings.h"

namespace lumbrix {
namespace {

std::optional<WatermarkFont> &loaded() {
  static std::optional<WatermarkFont> font;
  return font;
}

} // namespace

bool load_watermark_font() {
  const Settings &s = settings();
  release_watermark_font();
  if (s.font.trimmed().isEmpty() || s.font_size <= 0)
    return false;
  // Font Style: 0 regular, 1 bold, 2 italic, 3 bold italic. Font Effect: 1 underline, 2 strike.
  loaded() = WatermarkFont{s.font,
                           s.font_size,
                           s.font_style == 1 || s.font_style == 3,
                           s.font_style == 2 || s.font_style == 3,
                           s.font_effect == 1,
                           s.font_effect == 2};
  return true;
}

void release_watermark_font() { loaded().reset(); }

const std::optional<WatermarkFont> &watermark_font() { return loaded(); }

} // namespace lumbrix
