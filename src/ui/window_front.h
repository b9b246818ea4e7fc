#pragma once

#include "cli/console_run.h"

namespace lumbrix {

// The window front from start to end: the single-instance lock, settings, language table,
// images and theme, the main window, the event loop, and at the end the window geometry and
// the settings file. Returns the exit status (0, also when another window front is running).
int run_window_front(int &argc, char **argv);

// Everything before the event loop, once a QApplication exists: reads the settings file, builds
// the language table, images, theme and main window, and shows it.
void start_window_front();

// What the window needs once it exists: format lists, the first job, showing it, and the
// automatic update check (not in screenshot mode).
void post_window_init(RunMode mode);

// Everything after the event loop: the window geometry and the history go into the settings,
// the settings file is written, the main window is destroyed.
void finish_window_front();

// Stores the main window's state in the Window settings: maximised keeps the last normal size
// and position, minimised stores nothing.
void record_window_geometry();

// The language table, the built-in images and the theme's images. Screenshot mode needs them
// without the settings file.
void load_window_tables();

} // namespace lumbrix
