#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

namespace lumbrix {

// Text on drawing layers (see painter_layer.h). Needs a QGuiApplication (gui_app.h). A point
// is the top-left corner of the text's line box, not its baseline.

// Raster text: hinted whole-pixel metrics and glyphs without antialiasing. Each pixel the text
// touches is replaced by color, alpha included, so the text keeps its own opacity on any
// background.
QSize raster_text_size(const QFont &font, const QString &text);
void draw_raster_text(QImage &layer, const QFont &font, QPoint at, const QString &text,
                      const QColor &color);

// Vector text: the glyph outlines filled with antialiasing, blended over the layer. The width
// is the outline advance rounded to whole pixels.
int vector_text_width(const QFont &font, const QString &text);
void draw_vector_text(QImage &layer, const QFont &font, QPoint at, const QString &text,
                      const QColor &color);

} // namespace lumbrix
