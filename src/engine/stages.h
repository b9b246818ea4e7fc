#pragma once

#include "engine/image.h"

#include <QString>

#include <cstdint>

namespace lumbrix {

// The pipeline's stages, in the order convert_file runs them. Each reads the settings record,
// takes ownership of the image and returns the image to continue with; an empty image passes
// through. With the default settings every stage but output_depth_stage changes nothing.

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

// Geometry.
Image rotate_stage(Image image);
Image resize_stage(Image image, int width, int height);
void flip_stage(FIBITMAP *image);
Rgb parse_hex_color(const QString &text);          // "RRGGBB"; any other length is black
int scaled_size(int value, int unit, int base);    // unit 0 pixels, 1 percent
FREE_IMAGE_FILTER resize_filter();

// Tone and colour.
Image color_correction_stage(Image image);
Image greyscale_stage(Image image);
Image threshold_stage(Image image);
Image output_depth_stage(Image image);
int automatic_depth(const QString &extension, int input_bpp);

// Frame and watermark, given the size read after the resize.
Image frame_stage(Image image, int width, int height);
Rgba parse_rgba_color(const QString &text, int alpha);
Image watermark_stage(Image image, int width, int height);

} // namespace lumbrix
