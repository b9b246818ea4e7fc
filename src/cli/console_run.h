#pragma once

#include "engine/settings.h"

#include <QString>

namespace lumbrix {

// How the program was asked to run: normally, with the console's debug lines (-d), or drawing
// the screenshots of the window (-T).
enum class RunMode { Normal, Debug, Screenshot };

// What the command line asked a console run for.
struct ConsoleJob {
  QString input;            // the -i value as given
  QString output_folder;    // the -o value; empty means the input's folder
  QString output_extension; // the -c value; empty means the build's first output format
  Settings settings;        // the console defaults with every option and profile applied
  RunMode mode = RunMode::Normal;
};

// The console conversion of the one input file named by -i: checks, the debug echo, the
// worker run and the result lines. Returns the process exit status: 0 when the file was
// converted, 1 when a check failed or the conversion stopped.
int console_run(const ConsoleJob &job, bool quiet);

} // namespace lumbrix
