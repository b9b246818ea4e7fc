#include "ui/app_main.h"

#include "cli/command_line.h"
#include "platform/files.h"
#include "platform/system_memory.h"
#include "ui/screenshot_mode.h"
#include "ui/uninstall_window.h"
#include "ui/window_front.h"

#include <QApplication>
#include <QString>
#include <QStringList>

namespace lumbrix {

int lumbrix_main(int argc, char **argv) {
  ignore_file_size_signal();
  fit_allocator_to_address_limit();
  QStringList parameters;
  for (int i = 1; i < argc; ++i)
    parameters << QString::fromLocal8Bit(argv[i]);
  // Console work never needs a display; only the screenshot mode and the window front do.
  WindowCommands commands;
  commands.screenshot_mode = [&argc, argv](const QString &folder) {
    QApplication application(argc, argv);
    return run_screenshot_mode(folder);
  };
  commands.uninstall_page = [&argc, argv] {
    QApplication application(argc, argv);
    show_uninstall_page();
  };
  const int status = command_line_main(parameters, commands);
  if (status >= 0)
    return status;
  return run_window_front(argc, argv, window_file_arguments(parameters));
}

} // namespace lumbrix
