#include "platform/stop_signals.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// A timed wait tells its timeout apart from the end of the work, which stays told until taken.
TEST(StopSignals, ATimedWaitTellsTimeoutFromWake) {
  const StopSignals stop;
  EXPECT_EQ(stop.wait(10), StopSignals::timed_out);
  stop.wake();
  EXPECT_EQ(stop.wait(10), 0);
  EXPECT_EQ(stop.wait(), 0);
}

} // namespace
} // namespace lumbrix
