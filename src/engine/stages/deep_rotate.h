#pragma once

#include "engine/image/image.h"

namespace lumbrix {

// A FIT_RGBA16 picture turned by angle degrees about its centre on a canvas of its own size,
// what FreeImage's free-angle turn does at 8 bits: each channel read as a cubic B-spline through
// its samples, mirrored past the edges, and sampled where each pixel turns from. Empty when there
// is no memory for it.
Image rotate_deep_in_place(const Image &image, int angle);

} // namespace lumbrix
