#pragma once

namespace lumbrix {

// The manual check (Help/Check For a New Version).
void check_for_updates();

// Called once after the main window is set up at start: asks, at the chosen interval, whether to
// check.
void auto_update_check();

} // namespace lumbrix
