#pragma once

#include "cli/console_run.h"

#include <QStringList>

#include <functional>

namespace lumbrix {

// The commands of the command line that show windows, which the console front has none of: the
// window front hands them in.
struct WindowCommands {
  // "-T folder": draws the window into pictures and gives the exit status. Without it, -T does
  // nothing.
  std::function<int(const QString &folder)> screenshot_mode;
  // "-U": the uninstall page. Without it, -U says the page is not available.
  std::function<void()> uninstall_page;
  // A console run that asks for a frame or a watermark, which are drawn with the GUI library:
  // hands the whole command line to the program that has them, before anything is printed, and
  // returns an exit status only when that fails. Without it, this program draws them itself.
  std::function<int()> drawing_program;
};

// The options of a command line that does not start with a command: what a console run is
// asked for (the console defaults with every option and profile applied in order), -q, -p,
// whether -i or --input was met, and the error that stopped reading, if any.
struct CommandLineOptions {
  ConsoleJob job;
  bool input_given = false;
  bool quiet = false;
  bool pause = false;
  QString error;
  QString error_reason; // a line of its own after the error, when there is one
};

CommandLineOptions read_command_line(const QStringList &parameters);

// `lumbrix a.png b.png`: a command line of parameters none of which is an option names the files
// for the window front to start with. Returns them as absolute paths (a "file:" address as its
// local path), or nothing for any other command line.
QStringList window_file_arguments(const QStringList &parameters);

// The console front. Returns the exit status when the command line was handled in console
// mode (help, version, an option error or a console run); returns -1 when the program goes on
// into window mode.
int command_line_main(const QStringList &parameters, const WindowCommands &commands = {});

} // namespace lumbrix
