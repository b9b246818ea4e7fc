#include "engine/image/deep_picture.h"
#include "engine/image/image_conversion.h"
#include "engine/stages/alpha_channel.h"
#include "engine/stages/stages.h"
#include "engine/stages/watermark/watermark_composite.h"
#include "engine/stages/watermark/watermark_image_layer.h"
#include "engine/stages/watermark/watermark_placement.h"
#include "engine/stages/watermark/watermark_text_layer.h"
#include "platform/gui_app.h"

namespace lumbrix {
namespace {

QImage text_layer(const StageContext &context, int width, int height) {
  if (!context.font || !gui_application_exists())
    return {};
  TokenValues marked = context.file;
  marked.width = width;
  marked.height = height;
  const QString text = expand_watermark_text(context.settings.text, marked);
  return text_watermark_layer(text, watermark_qfont(*context.font), context.settings);
}

QImage watermark_layer(const StageContext &context, int width, int height) {
  switch (context.settings.do_watermark) {
  case WatermarkKind::Text:
    return text_layer(context, width, height);
  case WatermarkKind::Image:
    return image_watermark_layer(context.settings);
  default:
    return {};
  }
}

// Rotated and cut to the room the area leaves; empty when there is nothing to draw or no room.
// The text's size tokens name the whole picture, not the area.
Image cropped_watermark(const StageContext &context, QSize picture, const WatermarkPlacement &place,
                        const WatermarkArea &area) {
  Image mark = watermark_rotate(
      layer_to_bitmap(watermark_layer(context, picture.width(), picture.height())), place);
  if (!mark)
    return mark;
  const QSize full(image_width(mark), image_height(mark));
  const QSize size = watermark_crop(full, area, place);
  if (size.isEmpty())
    return {};
  if (size == full)
    return mark;
  return Image{FreeImage_Copy(mark.get(), 0, 0, size.width(), size.height())};
}

} // namespace

Image watermark_stage(Image image, const StageContext &context, int width, int height) {
  const Settings &s = context.settings;
  if (s.do_watermark == WatermarkKind::None || !image)
    return image;
  const bool alpha = has_alpha(image);
  if (!is_deep_rgba(image) && image_bpp(image) != (alpha ? 32 : 24))
    image = convert_image(std::move(image),
                          alpha ? FreeImage_ConvertTo32Bits : FreeImage_ConvertTo24Bits);
  if (!image)
    return image;
  const WatermarkPlacement place = watermark_placement(s);
  const WatermarkArea area = watermark_area(s, width, height);
  const Image mark = cropped_watermark(context, QSize(width, height), place, area);
  if (!mark)
    return image;
  const QPoint at = watermark_position(QSize(image_width(mark), image_height(mark)), area, place);
  return composite_at(std::move(image), mark, at);
}

} // namespace lumbrix
