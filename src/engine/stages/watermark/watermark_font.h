#pragma once

#include "engine/settings/settings.h"

#include <QString>

#include <optional>

namespace lumbrix {

// The font a text watermark is drawn with, settled by the run's checks before the worker starts.
// A family the system lacks is substituted when drawing.
struct WatermarkFont {
  QString family;
  int point_size = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strike_out = false;
};

// From Font, Font Size, Font Style and Font Effect. Nothing for an empty name or a size that is
// not positive.
std::optional<WatermarkFont> watermark_font(const Settings &s);

} // namespace lumbrix
