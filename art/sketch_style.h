#pragma once

#include "prefs/builtin_images.h"

// The look of the "handdrawn" theme: wobbly warm ink outlines, marker colours that do not quite
// keep inside the lines, and at the large sizes a second pencil pass and crayon hatching.
class SketchStyle final : public lumbrix::PictogramStyle {
public:
  // pixels: the size of the icon being drawn; seed: varies the wobble from icon to icon.
  SketchStyle(int pixels, unsigned seed);

  void shape(QPainter &painter, const QPainterPath &path, const QColor &fill) override;
  void patch(QPainter &painter, const QPainterPath &path, const QColor &fill) override;
  void line(QPainter &painter, const QPainterPath &path, const QColor &colour,
            qreal width) override;
  void mark(QPainter &painter, const QPainterPath &path, const QColor &colour,
            qreal width) override;

private:
  QPainterPath wobble(const QPainterPath &path);
  void stroke(QPainter &painter, const QPainterPath &path, const QColor &colour, qreal width);
  void hatch(QPainter &painter, const QPainterPath &area, const QColor &fill);
  qreal ink_width() const;
  bool detailed() const { return pixels_ >= 48; }

  int pixels_;
  unsigned seed_;
  int part_ = 0;
};

// Draws the pictogram of a name in this style, filling a size x size pixel square of the painter.
void paint_sketch(QPainter &painter, const QString &name, int size);
