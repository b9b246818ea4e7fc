#pragma once

#include <QRect>
#include <QSize>

#include <array>

namespace lumbrix {

// Heights of the main window's bars, measured once they are built.
struct BarHeights {
  int menu = 0;
  int toolbar = 0;
  int status = 0;
};

// What the rows of the window body need with the window's font and style.
struct RowHeights {
  int label = 0;  // one line of a label
  int field = 0;  // the tallest of the input field and the two drop-downs
  int notice = 0; // the notice line
};

// Where the main window's controls go. The panel and the notice are placed in the window body
// below the main tool bar; the labels, fields and buttons are inside the panel. Each label sits
// above its field.
struct MainLayout {
  QRect panel;
  std::array<QRect, 3> labels;
  QRect input_field;
  QRect folder_list;
  QRect format_list;
  std::array<QRect, 3> side_buttons;
  QRect convert_button;
  QRect notice;
};

inline constexpr int main_min_width = 510;
// The window's height wherever its contents fit in it.
inline constexpr int main_height = 260;
// The body's panel starts this far below the tool bar.
inline constexpr int panel_offset = 0;

// The geometry for a window of inner size `inner`: the fields widen with the window, the side
// buttons and the Convert button keep their distance from the right edge, the rows follow one
// another as tall as the font needs, and the notice keeps to the bottom of the body.
MainLayout main_layout(QSize inner, const BarHeights &bars, const RowHeights &rows);

// The window's fixed inner height: main_height, or more when the bars and rows need it.
int fixed_main_height(const BarHeights &bars, const RowHeights &rows);

// The window's starting inner size for a stored size: the height is the fixed one, the width
// only has a lower bound.
QSize bounded_main_size(QSize stored, int fixed_height);

} // namespace lumbrix
