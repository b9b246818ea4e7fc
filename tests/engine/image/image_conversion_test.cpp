#include "engine/image/image_conversion.h"
#include "support/image_builders.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

using test::pixel;

TEST(ConvertImage, ReplacesTheImageWithTheConvertedOne) {
  Image image = test::make_rgba32(3, 2, test::distinct_color);
  const Image converted = convert_image(std::move(image), FreeImage_ConvertTo24Bits);
  ASSERT_TRUE(converted);
  EXPECT_EQ(image_bpp(converted), 24);
  EXPECT_EQ(pixel(converted, 2, 1), test::distinct_color(2, 1));
}

TEST(ConvertImage, SixteenBitGreyConvertsThroughItsHighBytes) {
  Image grey = test::make_grey16(2, 1, [](int x, int) { return x == 0 ? 0x12FF : 0xC001; });
  const Image converted = convert_image(std::move(grey), FreeImage_ConvertTo32Bits);
  ASSERT_TRUE(converted);
  EXPECT_EQ(image_bpp(converted), 32);
  EXPECT_EQ(pixel(converted, 0, 0), (Rgba{0x12, 0x12, 0x12, 255}));
  EXPECT_EQ(pixel(converted, 1, 0), (Rgba{0xC0, 0xC0, 0xC0, 255}));
}

TEST(ConvertImage, FailedConversionAndEmptyImageGiveNothing) {
  Image float_rgb{FreeImage_AllocateT(FIT_RGBF, 2, 2, 96)};
  EXPECT_FALSE(convert_image(std::move(float_rgb), FreeImage_ConvertTo24Bits));
  EXPECT_FALSE(convert_image(Image{}, FreeImage_ConvertTo24Bits));
}

} // namespace
} // namespace lumbrix
