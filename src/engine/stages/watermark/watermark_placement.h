#pragma once

#include "engine/image/image.h"
#include "engine/settings/settings.h"

#include <QPoint>
#include <QSize>

namespace lumbrix {

// Where a watermark goes: the settings of the kind chosen by Do Watermark (text or image).
struct WatermarkPlacement {
  int boundary = 0; // 1: inside the frame
  int anchor = 0;   // 0..8: top-left, top-centre, ... bottom-right
  int x_offset = 0;
  int y_offset = 0;
  int rotation = 0; // degrees
};

WatermarkPlacement watermark_placement(const Settings &s);

// The rectangle the watermark is placed and cropped in: the picture, or the part inside the
// frame when a frame is set and the placement keeps to it.
struct WatermarkArea {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

WatermarkArea watermark_area(const Settings &s, int width, int height);

// The mark rotated by the placement's angle when it is 1..359 (the canvas grows, corners stay
// transparent); otherwise the mark as it was.
Image watermark_rotate(Image mark, const WatermarkPlacement &place);

// The mark's size cut on the right and bottom so that, with the offsets, it fits the area;
// nothing is scaled. A width or height of 0 or less means there is no room.
QSize watermark_crop(QSize mark, const WatermarkArea &area, const WatermarkPlacement &place);

// Top-left corner of a mark of this size at its anchor, offsets measured inward from the
// anchored edges (unused along a centred direction), in picture coordinates.
QPoint watermark_position(QSize mark, const WatermarkArea &area, const WatermarkPlacement &place);

} // namespace lumbrix
