#include "cli/console_main.h"

#include "cli/command_line.h"
#include "platform/files.h"
#include "platform/sibling_program.h"
#include "platform/system_memory.h"

#include <QStringList>

#include <cerrno>
#include <cstdio>

namespace lumbrix {
namespace {

const QString window_program_name = QStringLiteral("lumbrix-window");
const QString drawing_program_name = QStringLiteral("lumbrix-draw");

// Only returns when the program cannot be started.
int run_sibling_program(const QString &name, const char *part, char **argv) {
  const QString path = sibling_program(name);
  if (!path.isEmpty())
    replace_process(path, argv);
  const QString reason = path.isEmpty() ? QStringLiteral("not installed") : error_text(errno);
  std::fprintf(stderr, "The %s (%s) cannot be started: %s\n", part, qPrintable(name),
               qPrintable(reason));
  return 1;
}

int run_window_program(char **argv) {
  return run_sibling_program(window_program_name, "window front", argv);
}

} // namespace

int console_main(int argc, char **argv, ConsoleProgram program) {
  ignore_file_size_signal();
  fit_allocator_to_address_limit();
  QStringList parameters;
  for (int i = 1; i < argc; ++i)
    parameters << QString::fromLocal8Bit(argv[i]);
  WindowCommands commands;
  commands.screenshot_mode = [argv](const QString &) { return run_window_program(argv); };
  commands.uninstall_page = [argv] { run_window_program(argv); };
  if (program == ConsoleProgram::without_drawing)
    commands.drawing_program = [argv] {
      return run_sibling_program(drawing_program_name, "frame and watermark drawing", argv);
    };
  const int status = command_line_main(parameters, commands);
  if (status >= 0)
    return status;
  return run_window_program(argv);
}

} // namespace lumbrix
