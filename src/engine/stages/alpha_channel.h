#pragma once

#include "engine/image/image.h"

namespace lumbrix {

// Stages that convert the picture's colours keep its transparency with these.

// A standard bitmap whose pixels can be transparent: 32 bits, or a palette with a transparency
// table.
bool has_alpha(const Image &image);

// colours widened to 32 bits with the alpha of original, a picture of the same size. Without
// alpha in original, colours come back as they are.
Image with_alpha_of(Image colours, const Image &original);

// Runs convert on the picture's colours and gives the result original's alpha.
Image convert_keeping_alpha(Image image, FIBITMAP *(*convert)(FIBITMAP *));

} // namespace lumbrix
