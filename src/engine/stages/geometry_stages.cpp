#include "engine/image/deep_picture.h"
#include "engine/image/image_conversion.h"
#include "engine/image/image_limits.h"
#include "engine/settings/settings.h"
#include "engine/stages/background_turn.h"
#include "engine/stages/banded_rescale.h"
#include "engine/stages/deep_rotate.h"
#include "engine/stages/stages.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

namespace lumbrix {
namespace {

struct Size {
  int width = 0;
  int height = 0;
};

Image rotate_converted(Image image, const Settings &s, int angle, int width, int height) {
  if (s.image_rotation_type == 0)
    return turn_on_background(std::move(image), angle,
                              parse_hex_color(s.image_rotation_back_color));
  if (s.image_rotation_type == 1)
    return Image{
        FreeImage_RotateEx(image.get(), angle, 0.0, 0.0, width / 2.0, height / 2.0, FALSE)};
  return image;
}

// The dependent side of a size kept in proportion: computed in floats and rounded half away
// from zero, never below one pixel so a thin strip still gets a picture, nor past the int range
// (a float of the largest targets rounds beyond it).
int proportional_side(int target, int long_side, int short_side) {
  const float ratio = static_cast<float>(long_side) / static_cast<float>(short_side);
  const float side = static_cast<float>(target) / ratio;
  return static_cast<int>(std::clamp<double>(std::round(side), 1, INT_MAX));
}

Size new_size(const Settings &s, int width, int height, int target_width, int target_height) {
  if (!s.keep_aspect_ratio)
    return {target_width, target_height};
  if (width >= height)
    return {target_width, proportional_side(target_width, width, height)};
  return {proportional_side(target_height, height, width), target_height};
}

bool leave_size(const Settings &s, int width, int height, int target_width, int target_height) {
  if (target_width <= 0 || target_height <= 0)
    return true;
  if (target_width == width && target_height == height)
    return true;
  // Type 1 only enlarges nothing: an image smaller in both directions stays as it is.
  return s.image_resize_type == 1 && width < target_width && height < target_height;
}

} // namespace

Image rotate_stage(Image image, const Settings &s, bool keep_deep) {
  const int angle = s.image_rotation;
  if (!image || !s.do_image_rotation || angle < 1 || angle > 359)
    return image;
  const int width = image_width(image);
  const int height = image_height(image);
  // FreeImage turns any angle of 16-bit samples, but in place only at 8 bits.
  const bool deep = keep_deep && is_deep_rgba(image);
  if (deep && s.image_rotation_type == 1)
    return rotate_deep_in_place(image, angle);
  const int bpp = image_bpp(image);
  if (!deep && (bpp <= 16 || bpp > 32))
    image = convert_image(std::move(image), FreeImage_ConvertTo24Bits);
  if (!image)
    return image;
  return rotate_converted(std::move(image), s, angle, width, height);
}

int scaled_size(int value, int unit, int base) {
  if (unit == 0)
    return value;
  if (unit != 1)
    return 0;
  // The default rounding mode takes halves to even.
  const double scaled = std::nearbyint(value / 100.0 * base);
  return static_cast<int>(std::clamp(scaled, double{INT_MIN}, double{INT_MAX}));
}

std::optional<QSize> resize_target(const Settings &s, int width, int height) {
  if (!s.do_image_resize)
    return std::nullopt;
  const int target_width = scaled_size(s.image_width, s.image_width_unit, width);
  const int target_height = scaled_size(s.image_height, s.image_height_unit, height);
  if (leave_size(s, width, height, target_width, target_height))
    return std::nullopt;
  const Size size = new_size(s, width, height, target_width, target_height);
  return QSize(size.width, size.height);
}

Image resize_stage(Image image, const Settings &s, int width, int height) {
  const std::optional<QSize> size = resize_target(s, width, height);
  if (!image || !size)
    return image;
  // Such a picture could never be written; refuse it before a rescale of many gigabytes.
  if (size->width() > max_image_side || size->height() > max_image_side)
    return {};
  return banded_rescale(image.get(), size->width(), size->height(), resize_filter(s));
}

void flip_stage(FIBITMAP *image, const Settings &s) {
  if (!image)
    return;
  if (s.do_image_flip_horizontal)
    FreeImage_FlipHorizontal(image);
  if (s.do_image_flip_vertical)
    FreeImage_FlipVertical(image);
}

FREE_IMAGE_FILTER resize_filter(const Settings &s) {
  switch (s.image_resize_algorithm) {
  case 0:
    return FILTER_BOX;
  case 1:
    return FILTER_BILINEAR;
  case 2:
    return FILTER_BSPLINE;
  case 4:
    return FILTER_CATMULLROM;
  case 5:
    return FILTER_LANCZOS3;
  default:
    return FILTER_BICUBIC;
  }
}

} // namespace lumbrix
