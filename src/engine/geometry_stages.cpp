#include "engine/stages.h"

// Pass-through until the geometry stages are built.
namespace lumbrix {

Image rotate_stage(Image image) { return image; }
Image resize_stage(Image image, int, int) { return image; }
void flip_stage(FIBITMAP *) {}
Rgb parse_hex_color(const QString &) { return {}; }
int scaled_size(int value, int, int) { return value; }
FREE_IMAGE_FILTER resize_filter() { return FILTER_BICUBIC; }

} // namespace lumbrix
