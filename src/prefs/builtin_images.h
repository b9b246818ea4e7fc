#pragma once

#include "prefs/image_tables.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>
#include <QStringList>

#include <initializer_list>

class QPainter;

namespace lumbrix {

// How the parts of a pictogram reach the canvas. The built-in images and the default theme's
// artwork draw the same pictograms and differ only in the style. Sizes are in grid units.
class PictogramStyle {
public:
  virtual ~PictogramStyle() = default;
  // A solid part: filled and outlined.
  virtual void shape(QPainter &painter, const QPainterPath &path, const QColor &fill) = 0;
  // Colour inside a part, without an outline (a picture's sky, a glyph's dot).
  virtual void patch(QPainter &painter, const QPainterPath &path, const QColor &fill) = 0;
  // A drawn stroke that stands on its own (a tick, a circular arrow).
  virtual void line(QPainter &painter, const QPainterPath &path, const QColor &colour,
                    qreal width) = 0;
  // A detail drawn onto a part (text lines, a glyph, an envelope's flap).
  virtual void mark(QPainter &painter, const QPainterPath &path, const QColor &colour,
                    qreal width) = 0;
};

// Draws the pictogram of an image name on a 16 x 16 grid; scale the painter for other sizes.
// False for a name without a pictogram.
bool draw_pictogram(QPainter &painter, const QString &name, PictogramStyle &style);

// Every image name of the three image tables, each once.
QStringList pictogram_names();

// The built-in image of a name at size x size pixels, or a null image for an unknown name.
QImage builtin_image(const QString &name, int size);

// Gives every image of the tables its built-in image at the table's size.
void load_builtin_images(std::initializer_list<ImageTable> tables = {
                             ImageTable::Buttons, ImageTable::Menus, ImageTable::Toolbar});

} // namespace lumbrix
