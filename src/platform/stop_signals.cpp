#include "platform/stop_signals.h"

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <pthread.h>

namespace lumbrix {
namespace {

sigset_t stop_set() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  return set;
}

thread_local sigset_t saved_mask;

} // namespace

StopSignals::StopSignals() {
  const sigset_t set = stop_set();
  pthread_sigmask(SIG_BLOCK, &set, &saved_mask);
}

StopSignals::~StopSignals() { pthread_sigmask(SIG_SETMASK, &saved_mask, nullptr); }

int StopSignals::wait(int timeout_ms) const {
  const sigset_t set = stop_set();
  const timespec timeout{timeout_ms / 1000, (timeout_ms % 1000) * 1000000L};
  const int signal = sigtimedwait(&set, nullptr, &timeout);
  return signal > 0 ? signal : 0;
}

void StopSignals::end_process(int signal) {
  std::signal(signal, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  std::raise(signal);
  std::_Exit(128 + signal); // only if the signal was ignored by the parent
}

} // namespace lumbrix
