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

  // Sleeps until a stop signal arrives, returning it, or until wake() is called, returning 0
  // (also at once when the system gave no descriptors to wait on). Given a timeout in
  // milliseconds, returns timed_out when it passes first.
  static constexpr int timed_out = -1;
  int wait(int timeout_ms = -1) const;
  // Ends a wait() in progress or the next one; any thread may call it, once the work is done.
  void wake() const;

  // Ends the process as the signal would have ended it: its status tells the shell which.
  [[noreturn]] static void end_process(int signal);

private:
  int signal_fd_ = -1;
  int wake_fd_ = -1;
};

} // namespace lumbrix
