#include "ui/main_layout.h"

#include <algorithm>

namespace lumbrix {
namespace {

constexpr int left = 10;
constexpr int top = 5;
constexpr int row_gap = 4;
constexpr int bottom_margin = 6;
constexpr int side_button = 24;
constexpr int convert_size = 100;
// From the right edge: the fields end this far in, then come the side buttons, then Convert.
constexpr int fields_end = 150;
constexpr int side_buttons_x = 146;
constexpr int convert_x = 110;

// The bottom of the panel's contents, in panel coordinates.
int content_bottom(const RowHeights &rows) {
  const int first_field = top + rows.label;
  const int last_field_end = top + 3 * (rows.label + rows.field) + 2 * row_gap;
  return std::max(last_field_end, first_field + convert_size);
}

} // namespace

MainLayout main_layout(QSize inner, const BarHeights &bars, const RowHeights &rows) {
  const int w = inner.width();
  const int body_height = inner.height() - bars.menu - bars.toolbar - bars.status;
  MainLayout layout;
  std::array<QRect, 3> fields;
  int y = top;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    layout.labels[i] = QRect(left, y, w - fields_end - left, rows.label);
    y += rows.label;
    fields[i] = QRect(left, y, w - fields_end - left, rows.field);
    layout.side_buttons[i] =
        QRect(w - side_buttons_x, y + (rows.field - side_button) / 2, side_button, side_button);
    y += rows.field + row_gap;
  }
  layout.input_field = fields[0];
  layout.folder_list = fields[1];
  layout.format_list = fields[2];
  const int bottom = content_bottom(rows);
  layout.convert_button = QRect(w - convert_x, fields[0].y(), convert_size, bottom - fields[0].y());
  const int notice_y =
      std::max(panel_offset + bottom + row_gap, body_height - rows.notice - bottom_margin);
  layout.notice = QRect(left, notice_y, w - fields_end - left, rows.notice);
  layout.panel = QRect(0, panel_offset, w, notice_y - panel_offset);
  return layout;
}

int fixed_main_height(const BarHeights &bars, const RowHeights &rows) {
  const int body = panel_offset + content_bottom(rows) + row_gap + rows.notice + bottom_margin;
  return std::max(main_height, bars.menu + bars.toolbar + bars.status + body);
}

QSize bounded_main_size(QSize stored, int fixed_height) {
  return QSize(std::max(stored.width(), main_min_width), fixed_height);
}

} // namespace lumbrix
