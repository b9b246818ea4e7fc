#include "platform/signal_cleanup.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace lumbrix {
namespace {

// A handler may only touch lock-free atomics and fixed storage; a slot's path is written before
// it is marked in use, so a handler sees whole paths only.
constexpr int slot_count = 32;
constexpr std::size_t path_room = 4096;

enum SlotState : int { slot_free, slot_filling, slot_in_use };

struct Slot {
  std::atomic<int> state{slot_free};
  char path[path_room];
};
static_assert(std::atomic<int>::is_always_lock_free);
std::array<Slot, slot_count> pending;

extern "C" void remove_and_end(int signal_number) {
  for (Slot &slot : pending) {
    if (slot.state.load(std::memory_order_acquire) == slot_in_use)
      ::unlink(slot.path);
  }
  // SA_RESETHAND has put the default action back; the signal is delivered when this returns.
  ::raise(signal_number);
}

void install_handlers() {
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction current {};
    if (::sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler != SIG_DFL)
      continue;
    struct sigaction action {};
    action.sa_handler = remove_and_end;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    ::sigaction(signal_number, &action, nullptr);
  }
}

} // namespace

int remove_on_signal(const QByteArray &native_path) {
  static std::once_flag installed;
  std::call_once(installed, install_handlers);
  if (native_path.isEmpty() || static_cast<std::size_t>(native_path.size()) >= path_room)
    return -1;
  for (int i = 0; i < slot_count; ++i) {
    int expected = slot_free;
    if (!pending[i].state.compare_exchange_strong(expected, slot_filling))
      continue;
    std::memcpy(pending[i].path, native_path.constData(), native_path.size() + 1);
    pending[i].state.store(slot_in_use, std::memory_order_release);
    return i;
  }
  return -1;
}

void keep_on_signal(int slot) {
  if (slot >= 0 && slot < slot_count)
    pending[slot].state.store(slot_free, std::memory_order_release);
}

} // namespace lumbrix
