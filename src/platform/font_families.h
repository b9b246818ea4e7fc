#pragma once

#include <QString>

namespace lumbrix {

// Which font families the system has, as both fronts settle the watermark's font. Each needs a
// QGuiApplication (platform/gui_app.h).

// Whether the system has a font of this family (not merely one it would substitute).
bool font_installed(const QString &family);

// The family the desktop's font matching gives for sans-serif.
QString sans_serif_family();

// The watermark font to start with: the stored one, except that the built-in default the
// system lacks becomes the system's sans-serif, so that what is drawn is what is named.
QString settled_font(const QString &stored, const QString &built_in_default);

} // namespace lumbrix
