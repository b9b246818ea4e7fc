#include "prefs/uninstall_window.h"

namespace lumbrix {

void show_uninstall_page() {}

} // namespace lumbrix
