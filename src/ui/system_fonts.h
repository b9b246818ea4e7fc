#pragma once

#include "engine/settings/settings.h"
#include "platform/font_families.h"

#include <QStringList>

namespace lumbrix {

// Settles Font in the window's settings against the default the settings start with.
void settle_watermark_font(Settings &s);

// The entries of the font list: Fonts (or Font when Fonts is empty), with the stored Font added
// when it is not among them but the system has it, so that keeping it is possible.
QStringList font_choices(const Settings &s);

} // namespace lumbrix
