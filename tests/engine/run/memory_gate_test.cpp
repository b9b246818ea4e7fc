#include "engine/run/memory_gate.h"
#include "support/address_space.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace lumbrix {
namespace {

using namespace std::chrono_literals;

// A file's worker: takes its bytes on a thread of its own.
class Holder {
public:
  Holder(MemoryGate &gate, qint64 bytes)
      : entered_(in_.get_future()), thread_([this, &gate, bytes] {
          gate.acquire(bytes);
          in_.set_value();
        }) {}
  ~Holder() {
    if (thread_.joinable())
      thread_.detach();
  }

  // Long enough for a worker that may go in to get in; a worker that stays out is not proof of
  // waiting, but a gate that lets it in is caught nearly every time.
  bool in(std::chrono::milliseconds wait) {
    if (entered_.wait_for(wait) != std::future_status::ready)
      return false;
    thread_.join();
    return true;
  }

private:
  std::promise<void> in_;
  std::future<void> entered_;
  std::thread thread_;
};

// Each case takes its holders in order, then releases the first: the ones in "first" get in
// at once, the rest wait, and the release lets in those of "after".
TEST(MemoryGate, FilesWaitForRoomAndGetInWhenAnotherReleasesIt) {
  const struct {
    const char *name;
    std::vector<qint64> holders;
    std::vector<bool> first;
    std::vector<bool> after;
  } cases[] = {
      {"two fit, the third waits", {40, 40, 40}, {true, true, false}, {true, true, true}},
      {"larger than the budget, alone", {250}, {true}, {true}},
      {"larger than the budget waits for the others", {10, 250}, {true, false}, {true, true}},
      {"nothing beside one larger than the budget", {250, 10}, {true, false}, {true, true}},
      {"a release lets in all that fit", {90, 50, 50}, {true, false, false}, {true, true, true}},
  };
  for (const auto &[name, bytes, first, after] : cases) {
    SCOPED_TRACE(name);
    // A worker that never gets in still waits on the gate: both outlive the test then.
    auto gate = std::make_unique<MemoryGate>(100);
    std::vector<std::unique_ptr<Holder>> holders;
    std::vector<bool> in;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      holders.push_back(std::make_unique<Holder>(*gate, bytes[i]));
      in.push_back(holders.back()->in(first[i] ? 10s : 100ms));
    }
    EXPECT_EQ(in, first);
    gate->release(bytes[0]);
    for (std::size_t i = 1; i < bytes.size(); ++i)
      if (!in[i])
        in[i] = holders[i]->in(after[i] ? 10s : 100ms);
    EXPECT_EQ(in, after);
    for (std::size_t i = 1; i < bytes.size(); ++i)
      if (in[i])
        gate->release(bytes[i]);
    if (in != after) {
      static_cast<void>(gate.release());
      for (auto &holder : holders)
        static_cast<void>(holder.release());
    }
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
