#pragma once

#include "engine/image/image.h"
#include "platform/system_memory.h"

namespace lumbrix {

struct Rgb;

// The picture turned by angle (1 to 359) degrees onto a canvas that holds all of it, the corners
// filled with back (transparent where the picture has alpha). A FIT_RGBA16 picture stays one;
// any other must be 24 or 32 bits, and is turned at 16 bits and rounded once where available
// bytes hold that. Empty when there is no memory for it.
Image turn_on_background(Image image, int angle, Rgb back, qint64 available = memory_headroom());

} // namespace lumbrix
