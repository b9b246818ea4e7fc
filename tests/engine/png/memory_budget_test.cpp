#include "engine/png/memory_budget.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

TEST(MemoryBudget, PicturesWhoseConversionCannotFitAreRefusedWithTheFigures) {
  constexpr qint64 mb = 1000 * 1000;
  EXPECT_EQ(conversion_budget(20000, 20000, false), 3300 * mb);
  EXPECT_EQ(conversion_budget(20000, 20000, true), 4900 * mb);
  EXPECT_EQ(memory_refusal(20000, 20000, true, 4900 * mb), "");
  EXPECT_EQ(memory_refusal(20000, 20000, true, 4900 * mb - 1),
            "not enough memory: a 20000 x 20000 picture takes up to 4900 MB to convert, 4899 MB "
            "are available");
  // Whatever the platform reports, a small picture fits in what a running test has.
  EXPECT_EQ(memory_refusal(100, 100, true), "");
}

} // namespace
} // namespace lumbrix
