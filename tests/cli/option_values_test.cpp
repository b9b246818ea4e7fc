#include "cli/option_values.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <utility>

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
}

TEST(OptionValues, NumbersPastThe32BitRangeStayAtItsEnds) {
  const std::pair<const char *, int> cases[] = {
      {"2147483647", INT_MAX},   {"2147483648", INT_MAX},
      {"99999999999", INT_MAX},  {"4294967396", INT_MAX},
      {"$FFFFFFFF", INT_MAX},    {"-2147483648", INT_MIN},
      {"-99999999999", INT_MIN}, {"-%111111111111111111111111111111111", INT_MIN},
  };
  for (const auto &[text, expected] : cases)
    EXPECT_EQ(parse_number(QString::fromLatin1(text)), expected) << text;
}

TEST(OptionValues, FloatsReadLeadingNumberAndSpecialWords) {
  EXPECT_FLOAT_EQ(parse_float(QStringLiteral("1.5")), 1.5f);
  EXPECT_FLOAT_EQ(parse_float(QStringLiteral("2.25x")), 2.25f);
  EXPECT_FLOAT_EQ(parse_float(QStringLiteral("abc")), 0.0f);
  EXPECT_TRUE(std::isinf(parse_float(QStringLiteral("+INFINITY"))));
  EXPECT_LT(parse_float(QStringLiteral("-infinity")), 0.0f);
  EXPECT_TRUE(std::isnan(parse_float(QStringLiteral("nan"))));
}

TEST(OptionValues, FloatsReadTheirExponentAndLeaveTheFloatRangeAsInfinityOrZero) {
  const std::pair<const char *, float> cases[] = {
      {"5e-1", 0.5f},  {"2.5E+1x", 25.0f}, {"3e", 3.0f},        {"1.5e-", 1.5f},
      {"-4e0", -4.0f}, {"1e-300", 0.0f},   {"1e300", INFINITY}, {"-1e39", -INFINITY},
  };
  for (const auto &[text, expected] : cases)
    EXPECT_EQ(parse_float(QString::fromLatin1(text)), expected) << text;
}

TEST(OptionValues, StripQuotesRemovesEveryQuoteAtBothEnds) {
  EXPECT_EQ(strip_quotes(QStringLiteral("\"\"a b\"\"")), "a b");
  EXPECT_EQ(strip_quotes(QStringLiteral("a\"b")), "a\"b");
  EXPECT_EQ(strip_quotes(QStringLiteral("\"")), "");
}

} // namespace
} // namespace lumbrix
