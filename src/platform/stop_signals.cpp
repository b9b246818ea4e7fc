#include "platform/stop_signals.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

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
  signal_fd_ = signalfd(-1, &set, SFD_CLOEXEC);
  wake_fd_ = eventfd(0, EFD_CLOEXEC);
}

StopSignals::~StopSignals() {
  for (const int fd : {signal_fd_, wake_fd_})
    if (fd >= 0)
      ::close(fd);
  pthread_sigmask(SIG_SETMASK, &saved_mask, nullptr);
}

int StopSignals::wait(int timeout_ms) const {
  // Without its descriptors (a process out of them) the work simply runs to its end.
  if (signal_fd_ < 0 || wake_fd_ < 0)
    return 0;
  pollfd fds[2] = {{signal_fd_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
  int ready = 0;
  while ((ready = ::poll(fds, 2, timeout_ms)) < 0)
    if (errno != EINTR)
      return 0;
  if (ready == 0)
    return timed_out;
  signalfd_siginfo info{};
  if ((fds[0].revents & POLLIN) &&
      ::read(signal_fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
    return static_cast<int>(info.ssi_signo);
  return 0;
}

void StopSignals::wake() const {
  const std::uint64_t one = 1;
  if (wake_fd_ >= 0 && ::write(wake_fd_, &one, sizeof one) < 0)
    return; // the counter is full: a wake is pending already
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
