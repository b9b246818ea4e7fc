#pragma once

namespace lumbrix {

// While an instance lives, SIGINT, SIGTERM and SIGHUP do not end the process: they wait to be
// taken by wait(), so that the work in hand can be stopped cleanly (nothing half-written left
// behind) before the process ends with end_process(). Construct it before starting the threads
// of the work, on the thread that waits: threads started later do not take these signals either.
class StopSignals {
public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals &) = delete;
  StopSignals &operator=(const StopSignals &) = delete;

  // A stop signal that arrived, or 0 when none came within timeout_ms.
  int wait(int timeout_ms) const;

  // Ends the process as the signal would have ended it: its status tells the shell which.
  [[noreturn]] static void end_process(int signal);
};

} // namespace lumbrix
