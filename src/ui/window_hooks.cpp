#include "ui/window_hooks.h"

#include "ui/preferences/preferences_dialog.h"

namespace lumbrix {

void open_preferences() { open_preferences_dialog(); }

} // namespace lumbrix
