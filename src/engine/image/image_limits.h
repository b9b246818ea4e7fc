#pragma once

#include <QString>

#include <algorithm>

namespace lumbrix {

// The widest and tallest picture a PSD document can hold.
inline constexpr int max_image_side = 30000;

// Why a picture of this size cannot be written ("picture wider than 30000 pixels"); empty when
// it can.
QString size_limit_reason(qint64 width, qint64 height);

// Sizes, offsets and paddings come from settings that may hold any 32-bit value, so sums of them
// are taken in 64 bits. What then goes on to Qt or FreeImage as a coordinate is brought within
// +-2^30: far outside any picture, and far from overflowing when Qt adds a width to it.
inline constexpr qint64 far_coordinate = qint64{1} << 30;
inline int coordinate(qint64 value) {
  return static_cast<int>(std::clamp(value, -far_coordinate, far_coordinate));
}

} // namespace lumbrix
