// The console program without the drawing stages, so that it never loads Qt Gui and what it
// needs: console_main hands every run that asks for a frame or a watermark to lumbrix-draw, the
// same console front with the drawing stages, before anything is printed. These take the
// drawing functions' place at link time; with no frame and no watermark asked for, what they do
// is what the real ones do.
#include "engine/stages/stages.h"
#include "engine/stages/watermark/watermark_image_decoder.h"
#include "platform/font_families.h"
#include "platform/gui_app.h"

#include <cstdlib>

namespace lumbrix {

Image frame_stage(Image image, const Settings &s, int, int) {
  if (s.do_frame != FrameKind::None)
    std::abort(); // a run with a frame goes to lumbrix-draw
  return image;
}

Image watermark_stage(Image image, const StageContext &context, int, int) {
  if (context.settings.do_watermark != WatermarkKind::None)
    std::abort(); // a run with a watermark goes to lumbrix-draw
  return image;
}

bool watermark_image_decodes(const QString &) {
  std::abort(); // a run with a watermark goes to lumbrix-draw
}

bool ensure_gui_application() { return false; }

QString settled_font(const QString &, const QString &) {
  std::abort(); // fonts are matched only where a watermark is drawn
}

} // namespace lumbrix
