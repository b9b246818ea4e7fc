#pragma once

namespace lumbrix {

// Windows and checks of the Help and Converter menus that this build does not have yet. Each
// returns at once without doing anything.
void open_preferences();
void open_about();
void check_for_updates();
void auto_update_check();

} // namespace lumbrix
