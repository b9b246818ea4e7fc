#pragma once

#include <QString>

namespace lumbrix {

// Converts every file of the job set while keep running is set, one after another; the thread
// procedure of a run. Stores files converted when it ends and returns 0. The parameter is not
// used.
int conversion_worker(int unused);

// Converts the file named by the run state's input path. True when the PSD is in place. The
// PSD is written to a temporary file beside it and renamed over the final name, so an earlier
// file of that name survives a failure and no temporary file is left behind.
bool convert_file();

// Has observer called with each step's name as convert_file finishes it, for timing; null for
// none. Nothing else changes.
void set_step_observer(void (*observer)(const char *step));

// prefix + the current time and five random letters, all lower-case ASCII, + suffix.
QString make_temp_name(const QString &prefix, const QString &suffix);

} // namespace lumbrix
