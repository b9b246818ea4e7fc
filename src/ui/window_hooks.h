#pragma once

namespace lumbrix {

// The preferences dialog, which this build does not have yet: returns at once without doing
// anything.
void open_preferences();

} // namespace lumbrix
