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

// Where the main window's controls go. The panel is placed in the window body below the main
// tool bar; everything else is inside the panel.
struct MainLayout {
  QRect panel;
  QRect input_field;
  QRect folder_list;
  QRect format_list;
  std::array<QRect, 3> side_buttons;
  QRect convert_button;
};

inline constexpr int main_min_width = 510;
inline constexpr int main_height = 260;
// The body's panel starts this far below the tool bar.
inline constexpr int panel_offset = 0;

// The geometry for a window of inner size `inner`: the fields widen with the window, the side
// buttons and the Convert button keep their distance from the right edge.
MainLayout main_layout(QSize inner, const BarHeights &bars);

// The window's minimum, maximum and starting inner size for a stored size: the height is fixed,
// the width only has a lower bound.
QSize bounded_main_size(QSize stored);

} // namespace lumbrix
