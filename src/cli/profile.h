#pragma once

#include "engine/settings/settings.h"

#include <QString>

namespace lumbrix {

// Applies the option lines of section CLI of a profile file, in file order, to settings.
// False when the path is empty or the file cannot be opened or is refused by the settings-file
// reader; reason, when given, then says why (empty for an empty path).
bool load_profile(const QString &path, Settings &settings, QString *reason = nullptr);

} // namespace lumbrix
