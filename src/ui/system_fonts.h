#pragma once

#include "engine/settings/settings.h"

#include <QString>
#include <QStringList>

namespace lumbrix {

// Whether the system has a font of this family (not merely one it would substitute).
bool font_installed(const QString &family);

// The family the desktop's font matching gives for sans-serif.
QString sans_serif_family();

// The watermark font to start with: the stored one, except that the built-in default the
// system lacks becomes the system's sans-serif, so that what is drawn is what is named.
QString settled_font(const QString &stored, const QString &built_in_default);

// Settles Font in the window's settings against the default the settings start with.
void settle_watermark_font(Settings &s);

// The entries of the font list: Fonts (or Font when Fonts is empty), with the stored Font added
// when it is not among them but the system has it, so that keeping it is possible.
QStringList font_choices(const Settings &s);

} // namespace lumbrix
