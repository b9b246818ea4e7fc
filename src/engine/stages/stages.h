#pragma once

#include "engine/image/image.h"
#include "engine/settings/naming.h"
#include "engine/settings/settings.h"
#include "engine/stages/watermark/watermark_font.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

namespace lumbrix {

// The pipeline's stages, in the order run_stages (pipeline.h) runs them. Each is given the
// settings it reads, takes ownership of the image and returns the image to continue with; an
// empty image passes through. With the default settings every stage but output_depth_stage
// changes nothing.

// Whether the settings leave the picture as loaded through every stage before the output depth,
// which may still replace it: no stage is switched on.
bool stages_keep_pixels(const Settings &s);

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
};

struct Rgba {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 0;
};

// What the stages read besides the picture.
struct StageContext {
  const Settings &settings;
  // The text watermark's font, settled by the run's checks; null draws no text.
  const WatermarkFont *font = nullptr;
  // The file being converted, as the watermark text's tokens see it: bpp is the output depth and
  // extension the output format, which the depth stage converts to.
  TokenValues file;
};

// Geometry. keep_deep: a FIT_RGBA16 picture stays one, as a 64-bit conversion has it.
Image rotate_stage(Image image, const Settings &s, bool keep_deep = false);
// The size Resize gives a picture of width x height; nothing when it is left as it is.
std::optional<QSize> resize_target(const Settings &s, int width, int height);
Image resize_stage(Image image, const Settings &s, int width, int height);
void flip_stage(FIBITMAP *image, const Settings &s);
Rgb parse_hex_color(const QString &text);       // "RRGGBB"; any other length is black
int scaled_size(int value, int unit, int base); // unit 0 pixels, 1 percent
FREE_IMAGE_FILTER resize_filter(const Settings &s);

// Tone and colour; a FIT_RGBA16 picture stays one.
Image color_correction_stage(Image image, const Settings &s);
Image greyscale_stage(Image image, const Settings &s);
Image threshold_stage(Image image, const Settings &s);
// The picture at depth bits per pixel as the writer of the output extension takes it; empty when
// no conversion reaches that depth.
Image output_depth_stage(Image image, int depth, const QString &extension);
int automatic_depth(const QString &extension, int input_bpp);

// Frame and watermark, given the size read after the resize.
Image frame_stage(Image image, const Settings &s, int width, int height);
Rgba parse_rgba_color(const QString &text, int alpha);
Image watermark_stage(Image image, const StageContext &context, int width, int height);

} // namespace lumbrix
