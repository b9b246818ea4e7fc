#pragma once

#include "prefs/preference_rules.h"

namespace lumbrix {

// After the preferences were stored: reloads the images a new theme or icon size needs and
// rebuilds what shows them, then brings the main window's output format and recent folder lists
// in line with the settings. Images a theme does not supply fall back to the built-in ones, never
// to the previous theme's. Without a main window only the images are reloaded.
void refresh_interface(InterfaceChange change);

} // namespace lumbrix
