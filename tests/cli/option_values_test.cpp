#include "cli/option_values.h"

#include <gtest/gtest.h>

#include <cmath>

namespace lumbrix {
namespace {

TEST(OptionValues, NameIsUpperCasedAndCutAtEqualsForLongOptionsOnly) {
  EXPECT_EQ(option_name(QStringLiteral("--width=640")), "--WIDTH");
  EXPECT_EQ(option_name(QStringLiteral("  -i ")), "-I");
  EXPECT_EQ(option_name(QStringLiteral("-q=1")), "-Q=1");
  EXPECT_EQ(option_name(QStringLiteral("photo.png")), "");
}

TEST(OptionValues, ValueIsAfterFirstEqualsOfLongOptionsElseWholeParameter) {
  EXPECT_EQ(option_value(QStringLiteral("--wm-text=a=b")), "a=b");
  EXPECT_EQ(option_value(QStringLiteral("--input")), "--input");
  EXPECT_EQ(option_value(QStringLiteral(" Photo.PNG ")), "Photo.PNG");
  EXPECT_EQ(option_value(QStringLiteral("--brightness=-20")), "-20");
}

TEST(OptionValues, NumbersReadDecimalHexAndBinaryPrefixes) {
  EXPECT_EQ(parse_number(QStringLiteral(" \t-20px")), -20);
  EXPECT_EQ(parse_number(QStringLiteral("+7")), 7);
  EXPECT_EQ(parse_number(QStringLiteral("$1F")), 31);
  EXPECT_EQ(parse_number(QStringLiteral("%101")), 5);
  EXPECT_EQ(parse_number(QStringLiteral("-$10")), -16);
  EXPECT_EQ(parse_number(QStringLiteral("abc")), 0);
  EXPECT_EQ(parse_number(QStringLiteral("")), 0);
  EXPECT_EQ(parse_number(QStringLiteral("4294967297")), 1); // wraps to 32 bits
}

TEST(OptionValues, FloatsReadLeadingNumberAndSpecialWords) {
  EXPECT_FLOAT_EQ(parse_float(QStringLiteral("1.5")), 1.5f);
  EXPECT_FLOAT_EQ(parse_float(QStringLiteral("2.25x")), 2.25f);
  EXPECT_FLOAT_EQ(parse_float(QStringLiteral("abc")), 0.0f);
  EXPECT_TRUE(std::isinf(parse_float(QStringLiteral("+INFINITY"))));
  EXPECT_LT(parse_float(QStringLiteral("-infinity")), 0.0f);
  EXPECT_TRUE(std::isnan(parse_float(QStringLiteral("nan"))));
}

TEST(OptionValues, StripQuotesRemovesEveryQuoteAtBothEnds) {
  EXPECT_EQ(strip_quotes(QStringLiteral("\"\"a b\"\"")), "a b");
  EXPECT_EQ(strip_quotes(QStringLiteral("a\"b")), "a\"b");
  EXPECT_EQ(strip_quotes(QStringLiteral("\"")), "");
}

} // namespace
} // namespace lumbrix
