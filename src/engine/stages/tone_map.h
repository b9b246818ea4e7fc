#pragma once

#include "engine/image/image.h"

namespace lumbrix {

// Brings a picture of 16-bit or floating-point samples (FIT_UINT16, FIT_RGB16, FIT_RGBA16,
// FIT_FLOAT, FIT_RGBF, FIT_RGBAF) to 8 bits with the adaptive logarithmic curve, pixel for pixel
// as FreeImage_TmoDrago03(image, 1.0, 0.0) does: a 24-bit picture, or a 32-bit one that keeps
// the alpha of a FIT_RGBA16 picture (scaled to 8 bits as libpng rounds). Unlike FreeImage it
// holds no floating-point copy of the picture: one pass over the rows gathers the luminance
// statistics, a second maps a band of rows at a time into the result, so the picture and its
// result are all it takes. A standard bitmap passes through unchanged; a picture of another
// type, or one whose result cannot be allocated, gives an empty Image.
Image tone_map_stage(Image image);

} // namespace lumbrix
