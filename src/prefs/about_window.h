#pragma once

namespace lumbrix {

// Builds and shows the About window over the main window (Help/About).
void open_about();

} // namespace lumbrix
