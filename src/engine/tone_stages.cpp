#include "engine/stages.h"

// Pass-through until the tone and colour stages are built.
namespace lumbrix {

Image color_correction_stage(Image image) { return image; }
Image greyscale_stage(Image image) { return image; }
Image threshold_stage(Image image) { return image; }
Image output_depth_stage(Image image) { return image; }
int automatic_depth(const QString &, int input_bpp) { return input_bpp; }

} // namespace lumbrix
