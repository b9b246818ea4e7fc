#include "engine/stages/watermark/watermark_placement.h"

#include "engine/image/image_limits.h"

namespace lumbrix {

WatermarkPlacement watermark_placement(const Settings &s) {
  if (s.do_watermark == WatermarkKind::Image)
    return {s.image_boundary, s.image_position, s.image_x_offset, s.image_y_offset,
            s.wm_image_rotation};
  return {s.text_boundary, s.text_position, s.text_x_offset, s.text_y_offset, s.text_rotation};
}

WatermarkArea watermark_area(const Settings &s, int width, int height) {
  if (s.do_frame == FrameKind::None || watermark_placement(s).boundary != 1)
    return {0, 0, width, height};
  return {coordinate(s.solid_left), coordinate(s.solid_top),
          coordinate(qint64{width} - s.solid_left - s.solid_right),
          coordinate(qint64{height} - s.solid_top - s.solid_bottom)};
}

Image watermark_rotate(Image mark, const WatermarkPlacement &place) {
  const int angle = place.rotation;
  if (!mark || angle < 1 || angle > 359)
    return mark;
  return Image{FreeImage_Rotate(mark.get(), angle, nullptr)};
}

QSize watermark_crop(QSize mark, const WatermarkArea &area, const WatermarkPlacement &place) {
  if (qint64{mark.width()} + place.x_offset > area.width)
    mark.setWidth(coordinate(qint64{area.width} - place.x_offset));
  if (qint64{mark.height()} + place.y_offset > area.height)
    mark.setHeight(coordinate(qint64{area.height} - place.y_offset));
  return mark;
}

QPoint watermark_position(QSize mark, const WatermarkArea &area, const WatermarkPlacement &place) {
  if (place.anchor < 0 || place.anchor > 8)
    return {area.x, area.y};
  const int column = place.anchor % 3;
  const int line = place.anchor / 3;
  const qint64 centre_x = (qint64{area.width} - mark.width()) / 2;
  const qint64 centre_y = (qint64{area.height} - mark.height()) / 2;
  const qint64 x = column == 0   ? place.x_offset
                   : column == 1 ? centre_x
                                 : qint64{area.width} - mark.width() - place.x_offset;
  const qint64 y = line == 0   ? place.y_offset
                   : line == 1 ? centre_y
                               : qint64{area.height} - mark.height() - place.y_offset;
  return {coordinate(area.x + x), coordinate(area.y + y)};
}

} // namespace lumbrix
