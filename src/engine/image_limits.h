#pragma once

#include <QString>

namespace lumbrix {

// The widest and tallest picture a PSD document can hold.
inline constexpr int max_image_side = 30000;

// Why a picture of this size cannot be written ("picture wider than 30000 pixels"); empty when
// it can.
QString size_limit_reason(qint64 width, qint64 height);

} // namespace lumbrix
