#include "shell/window_hooks.h"

namespace lumbrix {

void open_preferences() {}

void open_about() {}

void check_for_updates() {}

void auto_update_check() {}

} // namespace lumbrix
