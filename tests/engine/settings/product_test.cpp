#include "engine/settings/product.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

TEST(Product, FormatVersionInsertsPointsAndDropsTrailingZero) {
  EXPECT_EQ(format_version(220), "2.2");
  EXPECT_EQ(format_version(221), "2.2.1");
  EXPECT_EQ(format_version(205), "2.0.5");
  EXPECT_EQ(format_version(7), "7");
}

TEST(Product, WindowTitleIsTitleAndVersion) {
  EXPECT_EQ(window_title(), "Vantrel PNG to PSD 2.2");
}

} // namespace
} // namespace lumbrix
