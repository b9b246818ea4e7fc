#include "ui/main_layout.h"

#include <algorithm>

namespace lumbrix {

MainLayout main_layout(QSize inner, const BarHeights &bars) {
  const int w = inner.width();
  const int panel_height = inner.height() - bars.menu - bars.toolbar - bars.status - 40;
  const int field_width = w - 160;
  MainLayout layout;
  layout.panel = QRect(0, panel_offset, w, panel_height);
  layout.input_field = QRect(10, 20, field_width, 20);
  layout.folder_list = QRect(10, 60, field_width, 21);
  layout.format_list = QRect(10, 100, field_width, 21);
  for (int i = 0; i < 3; ++i)
    layout.side_buttons[i] = QRect(w - 146, 19 + 40 * i, 24, 24);
  layout.convert_button = QRect(w - 110, 20, 100, 100);
  return layout;
}

QSize bounded_main_size(QSize stored) {
  return QSize(std::max(stored.width(), main_min_width), main_height);
}

} // namespace lumbrix
