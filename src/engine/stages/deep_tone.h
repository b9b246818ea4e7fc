#pragma once

#include <FreeImage.h>

namespace lumbrix {

// The tone stages on FIT_RGBA16 pictures, in place, alpha untouched: each gives what the 8-bit
// stage gives a picture of the same levels, to within one 8-bit step.

// Brightness, contrast, gamma and inversion as FreeImage's 8-bit table maps them, read between
// its entries, so a gradient keeps its 16-bit steps.
void adjust_deep_colours(FIBITMAP *image, double brightness, double contrast, double gamma,
                         bool invert);

// Rec. 709 luma in every colour.
void deep_greyscale(FIBITMAP *image);

// Full white where the 8-bit stage's grey level would reach level, black elsewhere.
void deep_threshold(FIBITMAP *image, int level);

} // namespace lumbrix
