#include "prefs/about_window.h"

namespace lumbrix {

void open_about() {}

} // namespace lumbrix
