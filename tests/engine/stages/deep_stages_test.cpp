#include "engine/image/deep_picture.h"
#include "engine/settings/settings.h"
#include "engine/stages/background_turn.h"
#include "engine/stages/stages.h"
#include "engine/stages/watermark/watermark_composite.h"
#include "support/image_builders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace lumbrix {
namespace {

// Every level and alpha in play, transparent pixels among them.
Rgba noise(int x, int y) {
  const auto at = [&](int k) {
    return static_cast<std::uint8_t>((x * 37 + y * 101 + k) * 97 % 256);
  };
  return {at(1), at(2), at(3), static_cast<std::uint8_t>(x % 5 == 0 ? 0 : at(4))};
}

Rgba half_red(int x, int) { return {200, 20, 20, static_cast<std::uint8_t>(x * 16)}; }

// A stage run on the picture; deep says the conversion keeps 16 bits.
using Stage = std::function<Image(Image, const Settings &, bool deep)>;

Stage watermark_blend() {
  return [](Image image, const Settings &, bool) {
    const Image mark = test::make_rgba32(16, 12, half_red);
    return composite_at(std::move(image), mark, QPoint(5, 7));
  };
}

// The largest distance, in 16-bit levels, of the deep result from the 8-bit one widened, over
// the first channels of red, green, blue and alpha; -1 when the deep result is not a FIT_RGBA16
// picture of the same size.
int distance(const Image &deep, const Image &narrow, int channels = 4) {
  const Image rgba(FreeImage_ConvertTo32Bits(narrow.get()));
  if (!is_deep_rgba(deep) || image_width(deep) != image_width(rgba) ||
      image_height(deep) != image_height(rgba))
    return -1;
  int worst = 0;
  for (int y = 0; y < image_height(rgba); ++y) {
    const FIRGBA16 *wide = deep_row(deep.get(), y);
    const BYTE *bytes = FreeImage_GetScanLine(rgba.get(), y);
    for (int x = 0; x < image_width(rgba); ++x, bytes += 4) {
      const int pairs[4][2] = {{wide[x].red, bytes[FI_RGBA_RED]},
                               {wide[x].green, bytes[FI_RGBA_GREEN]},
                               {wide[x].blue, bytes[FI_RGBA_BLUE]},
                               {wide[x].alpha, bytes[FI_RGBA_ALPHA]}};
      for (int c = 0; c < channels; ++c)
        worst = std::max(worst, std::abs(pairs[c][0] - 257 * pairs[c][1]));
    }
  }
  return worst;
}

// Each stage on a picture of 8-bit levels widened to 16 bits gives the 8-bit stage's result
// widened, to within one 8-bit step, and keeps the 16 bits. A turn in place rounds the same
// spline at either depth, so it stays within half a step.
TEST(DeepStages, EachStageMatchesItsEightBitSelf) {
  const Stage rotate = [](Image i, const Settings &s, bool deep) {
    return rotate_stage(std::move(i), s, deep);
  };
  const Stage resize = [](Image i, const Settings &s, bool) {
    const int width = image_width(i), height = image_height(i);
    return resize_stage(std::move(i), s, width, height);
  };
  const Stage flip = [](Image i, const Settings &s, bool) {
    flip_stage(i.get(), s);
    return i;
  };
  const Stage colour = [](Image i, const Settings &s, bool) {
    return color_correction_stage(std::move(i), s);
  };
  const Stage grey = [](Image i, const Settings &s, bool) {
    return greyscale_stage(std::move(i), s);
  };
  const Stage threshold = [](Image i, const Settings &s, bool) {
    return threshold_stage(std::move(i), s);
  };
  const Stage frame = [](Image i, const Settings &s, bool) {
    const int width = image_width(i), height = image_height(i);
    return frame_stage(std::move(i), s, width, height);
  };
  const struct {
    const char *name;
    Stage stage;
    std::function<void(Settings &)> set;
    int levels = 257;
  } cases[] = {
      {"rotate 90", rotate, [](Settings &s) { s.do_image_rotation = 1, s.image_rotation = 90; }},
      {"rotate 30 in place", rotate,
       [](Settings &s) {
         s.do_image_rotation = 1, s.image_rotation = 30, s.image_rotation_type = 1;
       },
       129},
      {"resize bilinear", resize,
       [](Settings &s) {
         s.do_image_resize = 1, s.keep_aspect_ratio = 0, s.image_resize_algorithm = 1;
         s.image_width = 23, s.image_height = 61;
       }},
      {"resize box", resize,
       [](Settings &s) {
         s.do_image_resize = 1, s.keep_aspect_ratio = 0, s.image_resize_algorithm = 0;
         s.image_width = 90, s.image_height = 20;
       }},
      {"flips", flip,
       [](Settings &s) { s.do_image_flip_horizontal = 1, s.do_image_flip_vertical = 1; }},
      {"colour correction", colour,
       [](Settings &s) {
         s.do_image_color_correction = 1, s.image_brightness = 20, s.image_contrast = -30;
         s.image_gamma = 1.7f, s.image_invert = 1;
       }},
      {"greyscale", grey, [](Settings &s) { s.do_image_greyscale = 1; }},
      {"threshold", threshold,
       [](Settings &s) { s.do_image_threshold = 1, s.image_threshold = 128; }},
      {"frame", frame,
       [](Settings &s) {
         s.do_frame = FrameKind::Solid, s.solid_opacity = 200;
         s.solid_left = s.solid_right = 4, s.solid_top = 7, s.solid_bottom = 0;
         s.solid_left_color = s.solid_top_color = QStringLiteral("20C040");
         s.solid_right_color = s.solid_bottom_color = QStringLiteral("FF00FF");
       }},
      {"watermark blend", watermark_blend(), [](Settings &) {}},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Settings s = default_settings(SettingsUse::Console);
    c.set(s);
    const Image narrow = c.stage(test::make_rgba32(47, 31, noise), s, false);
    const Image deep = c.stage(widen_to_deep(test::make_rgba32(47, 31, noise)), s, true);
    ASSERT_TRUE(narrow);
    EXPECT_LE(distance(deep, narrow), c.levels);
  }
}

// Flat colours beside noise, white rows, odd sizes and band widths, opaque and transparent
// pictures: a frame at any opacity blends within one 8-bit step of the 8-bit frame.
TEST(DeepStages, FrameAtAnyOpacityMatchesItsEightBitSelf) {
  const auto harsh = [](int x, int y) {
    if ((x + 2 * y) % 7 < 3)
      return noise(x, y);
    if (y % 4 == 0)
      return Rgba{255, 255, 255, 255};
    return x / 6 % 2 ? Rgba{250, 3, 128, 255}
                     : Rgba{17, 201, 99, static_cast<std::uint8_t>(90 + y)};
  };
  Settings s = default_settings(SettingsUse::Console);
  s.do_frame = FrameKind::Solid;
  s.solid_left = 3, s.solid_right = 5, s.solid_top = 6, s.solid_bottom = 2;
  s.solid_left_color = QStringLiteral("20C040"), s.solid_top_color = QStringLiteral("FFFFFF");
  s.solid_right_color = QStringLiteral("FF00FF"), s.solid_bottom_color = QStringLiteral("010203");
  for (const int opacity : {1, 2, 37, 127, 128, 199, 200, 253, 254})
    for (const bool opaque : {false, true}) {
      SCOPED_TRACE(testing::Message() << "opacity " << opacity << (opaque ? " opaque" : ""));
      s.solid_opacity = opacity;
      const auto picture = [&] {
        return opaque ? test::make_rgb24(53, 29, harsh) : test::make_rgba32(53, 29, harsh);
      };
      const Image narrow = frame_stage(picture(), s, 53, 29);
      const Image deep = frame_stage(widen_to_deep(picture()), s, 53, 29);
      EXPECT_LE(distance(deep, narrow), 257);
    }
}

// A free turn on a background is FreeImage's three shears at either depth; at 8 bits it runs
// on 16-bit samples and rounds once, so it lands within half a step of the 16-bit turn, with
// alpha and without (whose corners the 16-bit picture has transparent), past the first quarter.
TEST(DeepStages, FreeTurnOnABackgroundRoundsOnce) {
  Settings s = default_settings(SettingsUse::Console);
  s.do_image_rotation = 1, s.image_rotation_type = 0;
  s.image_rotation_back_color = QStringLiteral("3080C0");
  for (const int angle : {30, 100, 315})
    for (const bool opaque : {false, true}) {
      SCOPED_TRACE(testing::Message() << angle << (opaque ? " opaque" : ""));
      s.image_rotation = angle;
      const auto picture = [&] {
        return opaque ? test::make_rgb24(47, 31, noise) : test::make_rgba32(47, 31, noise);
      };
      const Image narrow = rotate_stage(picture(), s, false);
      const Image deep = rotate_stage(widen_to_deep(picture()), s, true);
      ASSERT_EQ(image_bpp(narrow), opaque ? 24 : 32);
      EXPECT_LE(distance(deep, narrow, opaque ? 3 : 4), 128);
    }
}

// Without the memory for the 16-bit copies, free or left by turns under way, the turn is
// FreeImage's own at 8 bits, byte for byte.
TEST(DeepStages, FreeTurnWithoutRoomForSixteenBitsIsTheEightBitTurn) {
  const Image picture = test::make_rgba32(47, 31, noise);
  const Rgb back{0x30, 0x80, 0xC0};
  const RGBQUAD background{back.blue, back.green, back.red, 0};
  const Image own(FreeImage_Rotate(picture.get(), 100, &background));
  const auto same = [&](const Image &turned) {
    return image_bpp(turned) == 32 && image_width(turned) == image_width(own) &&
           image_height(turned) == image_height(own) &&
           std::equal(FreeImage_GetBits(own.get()),
                      FreeImage_GetBits(own.get()) +
                          FreeImage_GetPitch(own.get()) * FreeImage_GetHeight(own.get()),
                      FreeImage_GetBits(turned.get()));
  };
  EXPECT_TRUE(same(turn_on_background(Image(FreeImage_Clone(picture.get())), 100, back, 60000)));
  EXPECT_FALSE(same(turn_on_background(Image(FreeImage_Clone(picture.get())), 100, back, 70000)));
  // Another turn under way holds some of that memory.
  const TurnRoom other(20000, 100000);
  ASSERT_TRUE(other.held());
  EXPECT_FALSE(TurnRoom(80001, 100000).held());
  EXPECT_TRUE(same(turn_on_background(Image(FreeImage_Clone(picture.get())), 100, back, 70000)));
  EXPECT_FALSE(same(turn_on_background(Image(FreeImage_Clone(picture.get())), 100, back, 90000)));
}

// Sides shorter than the spline filter's reach take its mirrored start, one pixel none at all.
TEST(DeepStages, TurnInPlaceOfSmallPicturesMatchesItsEightBitSelf) {
  const struct {
    int width, height, angle;
  } cases[] = {{1, 1, 30}, {1, 6, 90}, {2, 5, 135}, {27, 3, 359}, {9, 28, 200}, {30, 29, 45}};
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " by " << c.angle);
    Settings s = default_settings(SettingsUse::Console);
    s.do_image_rotation = 1, s.image_rotation = c.angle, s.image_rotation_type = 1;
    const Image narrow = rotate_stage(test::make_rgba32(c.width, c.height, noise), s, false);
    const Image deep =
        rotate_stage(widen_to_deep(test::make_rgba32(c.width, c.height, noise)), s, true);
    ASSERT_TRUE(narrow);
    EXPECT_LE(distance(deep, narrow), 129);
  }
}

// A turn in place keeps levels between the 8-bit ones: a flat picture stays flat, edges and
// corners included, since the edges are mirrored.
TEST(DeepStages, TurnInPlaceKeepsTheSixteenBitLevels) {
  for (const int angle : {30, 200}) {
    SCOPED_TRACE(angle);
    Image flat(FreeImage_AllocateT(FIT_RGBA16, 9, 14));
    for (int y = 0; y < 14; ++y)
      std::fill_n(deep_row(flat.get(), y), 9, FIRGBA16{1000, 40000, 7, 65000});
    Settings s = default_settings(SettingsUse::Console);
    s.do_image_rotation = 1, s.image_rotation = angle, s.image_rotation_type = 1;
    const Image turned = rotate_stage(std::move(flat), s, true);
    ASSERT_TRUE(is_deep_rgba(turned));
    for (int y = 0; y < 14; ++y)
      for (int x = 0; x < 9; ++x) {
        const FIRGBA16 pixel = deep_row(turned.get(), y)[x];
        ASSERT_EQ(pixel.red, 1000) << x << "," << y;
        ASSERT_EQ(pixel.green, 40000);
        ASSERT_EQ(pixel.blue, 7);
        ASSERT_EQ(pixel.alpha, 65000);
      }
  }
}

// Colour correction of a 16-bit ramp stays a ramp of 16-bit steps, not of 256 levels.
TEST(DeepStages, ColourCorrectionKeepsTheSixteenBitSteps) {
  Image ramp(FreeImage_AllocateT(FIT_RGBA16, 256, 256));
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const auto level = static_cast<WORD>(y * 256 + x);
      deep_row(ramp.get(), y)[x] = {level, level, level, 65535};
    }
  Settings s = default_settings(SettingsUse::Console);
  s.do_image_color_correction = 1, s.image_contrast = 30, s.image_gamma = 1.4f;
  ramp = color_correction_stage(std::move(ramp), s);
  ASSERT_TRUE(is_deep_rgba(ramp));
  int levels = 0;
  WORD last = 0;
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) {
      const WORD level = deep_row(ramp.get(), y)[x].red;
      ASSERT_GE(level, last);
      levels += level != last;
      last = level;
    }
  EXPECT_GT(levels, 20000);
}

// An 8-bit picture of any layout widens level for level; 16-bit samples stay as they are.
TEST(DeepStages, WideningKeepsEveryLevel) {
  const Image paletted = test::make_paletted(8, 16, 16, {{1, 2, 3}, {250, 128, 0}},
                                             [](int x, int y) { return (x + y) % 2; });
  const Image narrow = test::make_rgba32(16, 16, noise);
  EXPECT_EQ(distance(widen_to_deep(Image(FreeImage_Clone(paletted.get()))), paletted), 0);
  EXPECT_EQ(distance(widen_to_deep(Image(FreeImage_Clone(narrow.get()))), narrow), 0);
  const Image grey = widen_to_deep(test::make_grey16(3, 1, [](int x, int) { return 4097 * x; }));
  ASSERT_TRUE(is_deep_rgba(grey));
  EXPECT_EQ(deep_row(grey.get(), 0)[2].green, 8194);
  EXPECT_EQ(deep_row(grey.get(), 0)[2].alpha, 65535);
}

} // namespace
} // namespace lumbrix
