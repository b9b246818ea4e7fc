#include "engine/run/memory_gate.h"
#include "support/address_space.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace lumbrix {
namespace {

using namespace std::chrono_literals;

// A file's worker, taking its bytes on a thread of its own.
class Holder {
public:
  Holder(MemoryGate &gate, qint64 bytes)
      : thread_([this, &gate, bytes] {
          gate.acquire(bytes);
          in_.set_value();
        }) {}
  ~Holder() { entered_.valid() ? thread_.detach() : thread_.join(); }

  // Staying out briefly is no proof of waiting, but a gate that lets it in is nearly always caught.
  bool in(bool expected) {
    if (entered_.wait_for(expected ? 10s : 100ms) != std::future_status::ready)
      return false;
    entered_.get();
    return true;
  }

private:
  std::promise<void> in_;
  std::future<void> entered_ = in_.get_future();
  std::thread thread_;
};

// The holders come in order into a gate of 100: the first few get in at once, the others wait
// until the first releases, and then all get in.
TEST(MemoryGate, FilesWaitForRoomAndGetInWhenAnotherReleasesIt) {
  const struct {
    const char *name;
    std::vector<qint64> holders;
    std::size_t in_at_once;
  } cases[] = {
      {"two fit, the third waits", {40, 40, 40}, 2},
      {"larger than the budget, alone", {250}, 1},
      {"larger than the budget waits for the others", {10, 250}, 1},
      {"nothing beside one larger than the budget", {250, 10}, 1},
      {"a release lets in all that fit", {90, 50, 50}, 1},
  };
  for (const auto &[name, bytes, in_at_once] : cases) {
    SCOPED_TRACE(name);
    // A worker that never gets in waits on for good: the gate and it then outlive the test.
    auto *gate = new MemoryGate(100);
    std::vector<std::unique_ptr<Holder>> holders;
    std::vector<bool> in;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      holders.push_back(std::make_unique<Holder>(*gate, bytes[i]));
      in.push_back(holders.back()->in(i < in_at_once));
    }
    EXPECT_EQ(std::size_t(std::count(in.begin(), in.end(), true)), in_at_once);
    gate->release(bytes[0]);
    bool all_in = true;
    for (std::size_t i = 0; i < bytes.size(); ++i)
      all_in = (in[i] || holders[i]->in(true)) && all_in;
    EXPECT_TRUE(all_in);
    if (!all_in)
      for (auto &holder : holders)
        static_cast<void>(holder.release());
    else
      delete gate;
  }
}

// Whatever the machine has free, the batch shares no more than the process may still take.
TEST(MemoryGate, TheBatchBudgetKeepsWithinTheProcessLimit) {
  constexpr qint64 room = 300LL << 20;
  qint64 budget = 0;
  {
    const test::AddressSpaceLimit limit(room);
    if (!limit.ok())
      GTEST_SKIP() << "the hard limit leaves no room to lower";
    budget = batch_memory_budget();
  }
  EXPECT_LE(budget, room);
  EXPECT_GT(budget, room / 2);
}

} // namespace
} // namespace lumbrix
