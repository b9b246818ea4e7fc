#include "engine/stages/stages.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

void expect_color(const QString &text, int red, int green, int blue) {
  const Rgb c = parse_hex_color(text);
  EXPECT_EQ(c.red, red) << text.toStdString();
  EXPECT_EQ(c.green, green) << text.toStdString();
  EXPECT_EQ(c.blue, blue) << text.toStdString();
}

TEST(ParseHexColor, ReadsRedGreenBluePairsInEitherCase) {
  expect_color("FF8000", 255, 128, 0);
  expect_color("0a0B7f", 10, 11, 127);
  expect_color("000000", 0, 0, 0);
  expect_color("FFFFFF", 255, 255, 255);
}

TEST(ParseHexColor, AnyOtherLengthIsBlack) {
  expect_color("", 0, 0, 0);
  expect_color("F00", 0, 0, 0);
  expect_color("FFFFFFF", 0, 0, 0);
  expect_color("#FF8000", 0, 0, 0);
}

TEST(ParseHexColor, PairThatIsNotTwoHexDigitsReadsAsZero) {
  expect_color("GG8040", 0, 128, 64);
  expect_color("+1-1 1", 0, 0, 0);
  expect_color("80400z", 128, 64, 0);
}

} // namespace
} // namespace lumbrix
