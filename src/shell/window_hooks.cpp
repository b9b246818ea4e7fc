#include "shell/window_hooks.h"

#include "shell/preferences_dialog.h"

namespace lumbrix {

void open_preferences() { open_preferences_dialog(); }

} // namespace lumbrix
