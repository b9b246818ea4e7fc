#pragma once

#include "engine/image/image.h"

namespace lumbrix {

struct Rgb;

// The picture turned by angle degrees onto a canvas that holds all of it, the corners filled
// with back (transparent where the picture has alpha). A FIT_RGBA16 picture stays one; any
// other must be 24 or 32 bits. Empty when there is no memory for it.
Image turn_on_background(Image image, int angle, Rgb back);

} // namespace lumbrix
