#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace lumbrix::test {

// A run of the built lumbrix under limits, watched line by line, with how it ended and how much
// memory it took.
struct ChildOptions {
  long long file_size_limit = 0;     // RLIMIT_FSIZE in bytes; 0 for none
  long long address_space_limit = 0; // RLIMIT_AS in bytes; 0 for none
  long long descriptor_limit = 0;    // RLIMIT_NOFILE; 0 for none
  // Called with each output line as it arrives (the program writes its lines unbuffered).
  std::function<void(const QString &line)> on_line;
  // Called with each line too; a signal number it returns is sent to the program.
  std::function<int(const QString &line)> signal_on_line;
  // Called every few milliseconds while the program runs, with its process id.
  std::function<void(int pid)> on_tick;
};

struct ChildRun {
  bool finished = false; // false when it had to be killed after ten minutes
  int exit_code = -1;    // -1 unless it exited normally
  int signal = 0;        // the signal that ended it, or 0
  long peak_rss_kb = 0;  // largest resident set
  QStringList lines;     // stdout decoded from UTF-16LE, split at CR LF
};

ChildRun run_lumbrix_child(const QStringList &arguments, const ChildOptions &options = {});

} // namespace lumbrix::test
