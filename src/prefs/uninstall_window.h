#pragma once

namespace lumbrix {

// Shows the uninstall page and runs its own event loop until it is left ("-U"). Needs a running
// QApplication.
void show_uninstall_page();

} // namespace lumbrix
