#include "engine/image_conversion.h"
#include "engine/naming.h"
#include "engine/run_state.h"
#include "engine/settings.h"
#include "engine/stages.h"
#include "engine/watermark_composite.h"
#include "engine/watermark_image_layer.h"
#include "engine/watermark_placement.h"
#include "engine/watermark_text_layer.h"
#include "platform/gui_app.h"

namespace lumbrix {
namespace {

// The depth this file will be written with, which the output stage only settles later.
int output_depth() {
  const RunState &state = run_state();
  return state.automatic_depth ? automatic_depth(state.output_extension, state.input_bit_depth)
                               : state.output_bit_depth;
}

QImage text_layer(int width, int height) {
  const std::optional<WatermarkFont> &font = watermark_font();
  if (!font || !gui_application_exists())
    return {};
  const QString text = expand_watermark_text(settings().text, width, height, output_depth());
  return text_watermark_layer(text, watermark_qfont(*font));
}

QImage watermark_layer(int width, int height) {
  switch (settings().do_watermark) {
  case 1:
    return text_layer(width, height);
  case 2:
    return image_watermark_layer(settings().image);
  default:
    return {};
  }
}

// Rotated and cut to the room the area leaves; empty when there is nothing to draw or no room.
Image cropped_watermark(int width, int height) {
  Image mark = watermark_rotate(layer_to_bitmap(watermark_layer(width, height)));
  if (!mark)
    return mark;
  const QSize full(image_width(mark), image_height(mark));
  const QSize size = watermark_crop(full, watermark_area(width, height), watermark_placement());
  if (size.isEmpty())
    return {};
  if (size == full)
    return mark;
  return Image{FreeImage_Copy(mark.get(), 0, 0, size.width(), size.height())};
}

} // namespace

Image watermark_stage(Image image, int width, int height) {
  if (settings().do_watermark == 0 || !image)
    return image;
  if (image_bpp(image) != 24)
    image = convert_image(std::move(image), FreeImage_ConvertTo24Bits);
  if (!image)
    return image;
  const Image mark = cropped_watermark(width, height);
  if (!mark)
    return image;
  const QPoint at = watermark_position(QSize(image_width(mark), image_height(mark)),
                                       watermark_area(width, height), watermark_placement());
  return composite_at(std::move(image), mark, at);
}

} // namespace lumbrix
