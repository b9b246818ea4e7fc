#pragma once

#include "engine/naming.h"

#include <QString>

namespace lumbrix {

// What the window front keeps between its commands besides the settings: the output folder
// last chosen, the input last converted (where the open-file dialog starts), the name counters,
// which carry over from one run to the next, and the page the preferences open on (Output once
// "Options..." was used). All of it lasts until File/New.
struct WindowJob {
  QString output_folder;
  QString last_input;
  NameCounters counters = fresh_name_counters();
  int preferences_start_page = 0;
};

WindowJob &window_job();

// File/New: a fresh job.
void reset_window_job();

} // namespace lumbrix
