#pragma once

#include "engine/image/image.h"

namespace lumbrix {

// FreeImage_Rescale on several cores with the same result, byte for byte. FreeImage filters in
// two passes, one direction at a time, and within a pass every row (or column) is filtered on
// its own with weights that depend only on the two sizes. So each thread filters a band of rows
// (or columns) of the same pass through FreeImage itself, and the bands are put together in
// between. Only 24- and 32-bit bitmaps take this way; anything else is one FreeImage call.
// Bands are narrow and taken in turn, so the bands in hand add little to the memory FreeImage
// itself would use.
struct Banding {
  int threads = 0;     // 0: one per core
  int band_lines = 64; // rows or columns per band
};
Image banded_rescale(FIBITMAP *image, int width, int height, FREE_IMAGE_FILTER filter,
                     Banding banding = {});

} // namespace lumbrix
