#include "engine/stages/stages.h"

namespace lumbrix {

bool stages_keep_pixels(const Settings &s) {
  return !s.do_image_rotation && !s.do_image_resize && !s.do_image_flip_horizontal &&
         !s.do_image_flip_vertical && !s.do_image_color_correction && !s.do_image_greyscale &&
         !s.do_image_threshold && s.do_frame == FrameKind::None &&
         s.do_watermark == WatermarkKind::None;
}

} // namespace lumbrix
