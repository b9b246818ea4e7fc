#pragma once

namespace lumbrix {

// Converter > Preferences and the output format options: the preferences dialog, opened on the
// run's start page. Returns at once.
void open_preferences();

} // namespace lumbrix
