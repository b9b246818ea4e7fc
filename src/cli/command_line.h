#pragma once

#include <QStringList>

#include <functional>

namespace lumbrix {

// The console front. Returns the exit status when the command line was handled in console
// mode (help, version, an option error or a console run); returns -1 when the program goes on
// into window mode.
int command_line_main(const QStringList &parameters);

// What "-T folder" runs: the window front registers its screenshot mode here, since the console
// front has no windows of its own. Without one, -T does nothing.
inline std::function<void(const QString &folder)> &screenshot_mode_handler() {
  static std::function<void(const QString &folder)> handler;
  return handler;
}

// What "-U" runs: the window front registers its uninstall page here. Without one, -U says the
// page is not available.
inline std::function<void()> &uninstall_page_handler() {
  static std::function<void()> handler;
  return handler;
}

} // namespace lumbrix
