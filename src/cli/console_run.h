#pragma once

#include "cli/progress_line.h"
#include "engine/settings/settings.h"

#include <QString>

namespace lumbrix {

// How the program was asked to run: normally, with the console's debug lines (-d), or drawing
// the screenshots of the window (-T).
enum class RunMode { Normal, Debug, Screenshot };

// What the command line asked a console run for.
struct ConsoleJob {
  QString input;                     // the -i value as given: a file or a folder
  QString input_list;                // the --input-list value: a file naming the inputs
  bool recursive = false;            // a folder's sub-folders too
  QString output_folder;             // the -o value; empty means the input's folder
  bool create_output_folder = false; // a missing output folder is made, with its parents
  QString output_extension;          // the -c value; empty means the build's first output format
  Settings settings;                 // the console defaults with every option and profile applied
  RunMode mode = RunMode::Normal;
  ProgressMode progress = ProgressMode::Auto; // the live line on standard error
};

// The console conversion of the file named by -i, or of every picture of a folder or a list:
// checks, the debug echo, the worker run, a line for each file that failed and the result lines.
// SIGINT, SIGTERM and SIGHUP stop the run: files done stay, the file in progress leaves nothing,
// and after the lines the process ends as the signal ends it. Returns the process exit status: 0
// when every file was converted, 1 when a check failed or a file was not converted.
int console_run(const ConsoleJob &job, bool quiet);

} // namespace lumbrix
