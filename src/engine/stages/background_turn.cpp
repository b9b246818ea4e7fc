#include "engine/stages/background_turn.h"

#include "engine/image/deep_picture.h"
#include "engine/stages/stages.h"

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <utility>

namespace lumbrix {
namespace {

// FreeImage turns a free angle in three shears, and each shear rounds what a pixel hands on to
// its neighbour to a whole sample. At 8 bits that rounding adds up to two or three levels, so an
// 8-bit picture is turned at 16 bits and rounded to 8 once, at the end.

Image turned_through_deep(FIBITMAP *image, int angle, const FIRGBA16 &background) {
  Image deep = widened_copy(image);
  const Image turned{deep ? FreeImage_Rotate(deep.get(), angle, &background) : nullptr};
  deep.reset();
  Image narrow = turned ? narrowed_copy(turned.get()) : Image{};
  if (narrow)
    FreeImage_CloneMetadata(narrow.get(), image);
  return narrow;
}

// The most a turn through 16 bits holds at once: the 8-bit picture, its 16-bit copy, FreeImage's
// quarter turn of that copy beyond 45 degrees, and two of the three sheared pictures, whose sizes
// follow FreeImage's.
qint64 deep_turn_peak(FIBITMAP *image, int angle) {
  const qint64 narrow_pixel = FreeImage_GetBPP(image) / 8;
  const qint64 deep_pixel = narrow_pixel * 2;
  double width = FreeImage_GetWidth(image);
  double height = FreeImage_GetHeight(image);
  const double pictures = width * height * static_cast<double>(narrow_pixel + deep_pixel);
  // The angle FreeImage shears by once it has turned by quarters, within 45 degrees either way.
  const int quarters = ((angle + 45) / 90) % 4;
  const double rest = std::abs(angle - 90 * ((angle + 45) / 90)) * std::numbers::pi / 180;
  const double quarter_copy = quarters == 0 ? 0 : width * height * static_cast<double>(deep_pixel);
  if (quarters % 2)
    std::swap(width, height);
  const double first_width = width + height * std::tan(rest / 2);
  const double turned_width = height * std::sin(rest) + width * std::cos(rest) + 1;
  const double turned_height = width * std::sin(rest) + height * std::cos(rest) + 1;
  const double shears = std::max(first_width * height + first_width * turned_height,
                                 first_width * turned_height + turned_width * turned_height);
  return static_cast<qint64>(pictures + quarter_copy + shears * static_cast<double>(deep_pixel));
}

std::mutex room_mutex;
qint64 room_taken = 0;

} // namespace

TurnRoom::TurnRoom(qint64 bytes, qint64 available) {
  const std::lock_guard lock(room_mutex);
  if (room_taken + bytes > available)
    return;
  room_taken += bytes;
  bytes_ = bytes;
}

TurnRoom::~TurnRoom() {
  const std::lock_guard lock(room_mutex);
  room_taken -= bytes_;
}

Image turn_on_background(Image image, int angle, Rgb back, qint64 available) {
  const FIRGBA16 deep_background{widened(back.red), widened(back.green), widened(back.blue), 0};
  // FreeImage reads the background as a pixel of the picture's own type.
  if (is_deep_rgba(image))
    return Image{FreeImage_Rotate(image.get(), angle, &deep_background)};
  // A quarter turn moves whole pixels at any depth. Without the memory for the 16-bit copies
  // (about twice what the 8-bit turn takes), the picture is turned at 8 bits after all: two or
  // three levels off rather than no picture.
  if (angle % 90 != 0) {
    const TurnRoom room(deep_turn_peak(image.get(), angle), available);
    if (room.held()) {
      if (Image turned = turned_through_deep(image.get(), angle, deep_background))
        return turned;
    }
  }
  const RGBQUAD background{back.blue, back.green, back.red, 0};
  return Image{FreeImage_Rotate(image.get(), angle, &background)};
}

} // namespace lumbrix
