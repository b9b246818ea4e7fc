#pragma once

#include "engine/settings/settings.h"
#include "engine/stages/watermark/watermark_font.h"

#include <QFont>
#include <QImage>
#include <QString>

namespace lumbrix {

// The font to draw with: family and style of the loaded description, its size in points at
// 96 dots per inch turned into pixels.
QFont watermark_qfont(const WatermarkFont &font);

// Left edge of a line of line_width in a box of box_width, by Text Alignment and Text Padding.
int line_x(const Settings &s, int line_width, int box_width);

// The text watermark: the lines of text ("%eol%" in any letter case separates them) on their
// background box, drawn as raster or antialiased text by Text Antialiasing with the colours,
// opacities, padding and leading of the settings. Null when the box is empty or no layer can be
// made. Needs a QGuiApplication.
QImage text_watermark_layer(const QString &text, const QFont &font, const Settings &s);

} // namespace lumbrix
