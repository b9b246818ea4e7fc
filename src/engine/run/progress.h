#pragma once

#include <QString>

#include <mutex>

namespace lumbrix {

// What a front shows of a run.
struct ProgressView {
  int files_started = 0;
  QString current_file;     // the file started last
  int current_permille = 0; // how far that file is, in thousandths
  int files_done = 0;       // files whose work has ended, converted or not
  // How far the run is: a thousand for each file done, and each file in progress's share.
  qint64 permille_done = 0;
};

// What the worker of one run has done so far, for the front that waits for it. Read and written
// under `mutex` only, except files_converted, which the front reads after the worker has ended.
// The front owns one per run and clears keep_running to stop the run: files in progress are
// abandoned at their next step or while being written, and no further file is started.
struct ProgressRecord : ProgressView {
  std::mutex mutex;
  int files_converted = 0;
  bool keep_running = true;
};

// The shown part of the record, read at once under its lock.
inline ProgressView read_progress(ProgressRecord &record) {
  const std::lock_guard lock(record.mutex);
  return record;
}

} // namespace lumbrix
