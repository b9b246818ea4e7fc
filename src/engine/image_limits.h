#pragma once

namespace lumbrix {

// The widest and tallest picture a PSD document can hold.
inline constexpr int max_image_side = 30000;

} // namespace lumbrix
