#include "ui/window_hooks.h"

namespace lumbrix {

void open_preferences() {}

} // namespace lumbrix
