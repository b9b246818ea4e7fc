#include "engine/png/memory_budget.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

constexpr qint64 mb = 1000 * 1000;

// The file's bytes count only while they sit beside the decoded picture, before the stages
// make their copy. 16-bit work holds two 16-bit pictures, whatever the file's samples.
TEST(MemoryBudget, PicturesWhoseConversionCannotFitAreRefusedWithTheFigures) {
  const struct {
    bool sixteen_bit, sixteen_bit_output;
    qint64 file_bytes, expected;
  } cases[] = {{false, false, 0, 3300 * mb},         {true, false, 0, 4900 * mb},
               {false, false, 1600 * mb, 3300 * mb}, {false, false, 2000 * mb, 3700 * mb},
               {true, false, 2000 * mb, 5300 * mb},  {false, true, 0, 6500 * mb},
               {true, true, 0, 6500 * mb},           {false, true, 5000 * mb, 6700 * mb},
               {true, true, 4000 * mb, 7300 * mb}};
  for (const auto &c : cases)
    EXPECT_EQ(conversion_budget(20000, 20000, c.sixteen_bit, c.sixteen_bit_output, c.file_bytes),
              c.expected)
        << c.sixteen_bit << c.sixteen_bit_output << ' ' << c.file_bytes;
  EXPECT_EQ(memory_refusal(20000, 20000, true, false, 0, 4900 * mb), "");
  EXPECT_EQ(memory_refusal(20000, 20000, true, false, 0, 4900 * mb - 1),
            "not enough memory: a 20000 x 20000 picture takes up to 4900 MB to convert, 4899 MB "
            "are available");
  EXPECT_EQ(file_memory_refusal(300 * mb, 300 * mb), "");
  EXPECT_EQ(file_memory_refusal(300 * mb + 1, 300 * mb),
            "not enough memory: the file takes 301 MB to read, 300 MB are available");
  // Whatever the platform reports, a small picture fits in what a running test has.
  EXPECT_EQ(memory_refusal(100, 100, true, true, 1000), "");
}

} // namespace
} // namespace lumbrix
