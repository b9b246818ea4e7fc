#include "engine/png/memory_budget.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

constexpr qint64 mb = 1000 * 1000;

// The file's bytes count only while they sit beside the decoded picture, before the stages
// make their copy.
TEST(MemoryBudget, PicturesWhoseConversionCannotFitAreRefusedWithTheFigures) {
  EXPECT_EQ(conversion_budget(20000, 20000, false, 0), 3300 * mb);
  EXPECT_EQ(conversion_budget(20000, 20000, true, 0), 4900 * mb);
  EXPECT_EQ(conversion_budget(20000, 20000, false, 1600 * mb), 3300 * mb);
  EXPECT_EQ(conversion_budget(20000, 20000, false, 2000 * mb), 3700 * mb);
  EXPECT_EQ(conversion_budget(20000, 20000, true, 2000 * mb), 5300 * mb);
  EXPECT_EQ(memory_refusal(20000, 20000, true, 0, 4900 * mb), "");
  EXPECT_EQ(memory_refusal(20000, 20000, true, 0, 4900 * mb - 1),
            "not enough memory: a 20000 x 20000 picture takes up to 4900 MB to convert, 4899 MB "
            "are available");
  EXPECT_EQ(file_memory_refusal(300 * mb, 300 * mb), "");
  EXPECT_EQ(file_memory_refusal(300 * mb + 1, 300 * mb),
            "not enough memory: the file takes 301 MB to read, 300 MB are available");
  // Whatever the platform reports, a small picture fits in what a running test has.
  EXPECT_EQ(memory_refusal(100, 100, true, 1000), "");
}

} // namespace
} // namespace lumbrix
