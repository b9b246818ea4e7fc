#pragma once

#include "engine/settings.h"

#include <QString>

namespace lumbrix {

// Applies the option lines of section CLI of a profile file, in file order, to settings.
// False when the path is empty or the file cannot be opened.
bool load_profile(const QString &path, Settings &settings);

} // namespace lumbrix
