#pragma once

#include <Qt>

namespace lumbrix {

// Small windows (finder, progress, About, uninstall page): a title and a close box, nothing to
// minimise or maximise.
inline constexpr Qt::WindowFlags small_window_flags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

} // namespace lumbrix
