#pragma once

#include "engine/image/image.h"

namespace lumbrix {

using Conversion = FIBITMAP *(*)(FIBITMAP *);

// Replaces image by convert(image); the old image is released either way and a failed
// conversion leaves an empty Image. FreeImage refuses most conversions of 16-bit grey, so such
// an image is reduced to 8-bit grey (its high bytes) and converted from there.
Image convert_image(Image image, Conversion convert);

} // namespace lumbrix
