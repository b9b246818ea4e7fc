#include "engine/stages/banded_rescale.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace lumbrix {
namespace {

Image noise(int width, int height, int bpp, unsigned seed) {
  Image image{FreeImage_Allocate(width, height, bpp)};
  std::mt19937 random(seed);
  const unsigned bytes = FreeImage_GetLine(image.get());
  for (int y = 0; y < height; ++y) {
    BYTE *row = FreeImage_GetScanLine(image.get(), y);
    for (unsigned x = 0; x < bytes; ++x)
      row[x] = static_cast<BYTE>(random() >> 24);
  }
  return image;
}

// Same type, size and depth, and every pixel byte equal.
void expect_same(FIBITMAP *expected, FIBITMAP *actual) {
  ASSERT_NE(expected, nullptr);
  ASSERT_NE(actual, nullptr);
  ASSERT_EQ(FreeImage_GetImageType(expected), FreeImage_GetImageType(actual));
  ASSERT_EQ(FreeImage_GetBPP(expected), FreeImage_GetBPP(actual));
  ASSERT_EQ(FreeImage_GetWidth(expected), FreeImage_GetWidth(actual));
  ASSERT_EQ(FreeImage_GetHeight(expected), FreeImage_GetHeight(actual));
  const unsigned bytes = FreeImage_GetLine(expected);
  for (unsigned y = 0; y < FreeImage_GetHeight(expected); ++y)
    ASSERT_EQ(
        std::memcmp(FreeImage_GetScanLine(expected, y), FreeImage_GetScanLine(actual, y), bytes), 0)
        << "row " << y;
}

struct Case {
  int width, height, to_width, to_height;
};

// Smaller, larger, one side only, across the order FreeImage switches on (wider or not), and
// sizes that split unevenly or leave a band of a single line.
const Case cases[] = {{97, 61, 40, 30}, {40, 30, 97, 61}, {97, 61, 97, 20}, {97, 61, 30, 61},
                      {33, 47, 70, 20}, {70, 20, 33, 47}, {5, 3, 17, 2},    {3, 200, 1, 7},
                      {200, 3, 9, 1},   {64, 64, 63, 65}};

const FREE_IMAGE_FILTER filters[] = {FILTER_BOX,     FILTER_BILINEAR,   FILTER_BSPLINE,
                                     FILTER_BICUBIC, FILTER_CATMULLROM, FILTER_LANCZOS3};

TEST(BandedRescale, EqualsOneFreeImageCallForEveryFilterSizeAndBanding) {
  unsigned seed = 1;
  for (const int bpp : {24, 32})
    for (const Case &c : cases)
      for (const FREE_IMAGE_FILTER filter : filters)
        for (const Banding banding : {Banding{2, 1}, Banding{3, 7}, Banding{2, 64}}) {
          SCOPED_TRACE(testing::Message()
                       << bpp << " bpp " << c.width << "x" << c.height << " to " << c.to_width
                       << "x" << c.to_height << " filter " << filter << " threads "
                       << banding.threads << " lines " << banding.band_lines);
          const Image source = noise(c.width, c.height, bpp, seed++);
          const Image expected{FreeImage_Rescale(source.get(), c.to_width, c.to_height, filter)};
          const Image actual =
              banded_rescale(source.get(), c.to_width, c.to_height, filter, banding);
          expect_same(expected.get(), actual.get());
        }
}

TEST(BandedRescale, OtherDepthsAndUnchangedSizesGoToFreeImageAsTheyAre) {
  for (const int bpp : {8, 24}) {
    const Image source = noise(31, 17, bpp, 7);
    const Image expected{FreeImage_Rescale(source.get(), 12, 40, FILTER_BICUBIC)};
    const Image actual = banded_rescale(source.get(), 12, 40, FILTER_BICUBIC, {2, 3});
    expect_same(expected.get(), actual.get());
  }
  const Image source = noise(31, 17, 32, 9);
  const Image same = banded_rescale(source.get(), 31, 17, FILTER_BICUBIC, {2, 3});
  expect_same(source.get(), same.get());
  EXPECT_NE(same.get(), source.get());
}

} // namespace
} // namespace lumbrix
