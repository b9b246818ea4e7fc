#pragma once

#include "engine/image.h"

namespace lumbrix {

// FreeImage_Rescale on several cores with the same result, byte for byte. FreeImage filters in
// two passes, one direction at a time, and within a pass every row (or column) is filtered on
// its own with weights that depend only on the two sizes. So each thread filters a band of rows
// (or columns) of the same pass through FreeImage itself, and the bands are put together in
// between. Only 24- and 32-bit bitmaps take this way; anything else is one FreeImage call.
// bands 0 means one band per core.
Image banded_rescale(FIBITMAP *image, int width, int height, FREE_IMAGE_FILTER filter,
                     int bands = 0);

} // namespace lumbrix
