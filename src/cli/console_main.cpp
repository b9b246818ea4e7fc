#include "cli/console_main.h"

#include "cli/command_line.h"
#include "platform/files.h"
#include "platform/sibling_program.h"

#include <QStringList>

#include <cerrno>
#include <cstdio>

namespace lumbrix {
namespace {

const QString window_program_name = QStringLiteral("lumbrix-window");

// Only returns when the window program cannot be started.
int run_window_program(char **argv) {
  const QString path = sibling_program(window_program_name);
  if (!path.isEmpty())
    replace_process(path, argv);
  const QString reason = path.isEmpty() ? QStringLiteral("not installed") : error_text(errno);
  std::fprintf(stderr, "The window front (%s) cannot be started: %s\n",
               qPrintable(window_program_name), qPrintable(reason));
  return 1;
}

} // namespace

int console_main(int argc, char **argv) {
  ignore_file_size_signal();
  QStringList parameters;
  for (int i = 1; i < argc; ++i)
    parameters << QString::fromLocal8Bit(argv[i]);
  WindowCommands commands;
  commands.screenshot_mode = [argv](const QString &) { run_window_program(argv); };
  commands.uninstall_page = [argv] { run_window_program(argv); };
  const int status = command_line_main(parameters, commands);
  if (status >= 0)
    return status;
  return run_window_program(argv);
}

} // namespace lumbrix
