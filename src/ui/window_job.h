#pragma once

#include "engine/run/conversion_request.h"
#include "engine/settings/naming.h"

#include <QString>

#include <vector>

namespace lumbrix {

// What the window front keeps between its commands besides the settings: the inputs, the output
// folder last chosen, the input last converted (where the open-file dialog starts), the name
// counters, which carry over from one run to the next, and the page the preferences open on
// (Output once "Options..." was used). All of it lasts until File/New.
struct WindowJob {
  // Several pictures chosen or dropped at once, and what the input field shows for them; a text
  // typed in the field instead names one file.
  std::vector<InputFile> inputs;
  QString inputs_caption;
  QString output_folder;
  QString last_input;
  NameCounters counters = fresh_name_counters();
  int preferences_start_page = 0;
};

WindowJob &window_job();

// File/New: a fresh job.
void reset_window_job();

} // namespace lumbrix
