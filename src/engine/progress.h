#pragma once

#include <QString>

#include <mutex>

namespace lumbrix {

// What the worker of one run has done so far, for the front that waits for it. Read and written
// under `mutex` only, except files_converted, which the front reads after the worker has ended.
// The front owns one per run and clears keep_running to stop the run: the worker abandons the
// file in progress at its next step or while writing it.
struct ProgressRecord {
  std::mutex mutex;
  int files_started = 0;
  QString current_file;
  int file_permille = 0; // how far the current file is: loading, the stages, writing
  int files_converted = 0;
  bool keep_running = true;
};

} // namespace lumbrix
