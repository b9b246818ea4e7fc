#pragma once

#include "cli/console_run.h"

#include <QSize>
#include <QStringList>

namespace lumbrix {

// The window front from start to end: the single-instance lock, settings, language table,
// images and theme, the main window with the acceptable input_files as its input, the event
// loop, and at the end the window geometry and the settings file. When another window front
// runs for this user on this display, it is brought forward and given input_files instead; when
// it cannot be told, or no private place for the lock can be had, this one runs on its own.
// Returns the exit status: 0.
int run_window_front(int &argc, char **argv, const QStringList &input_files = {});

// What a later start asks of the running window front: its window brought forward and the
// acceptable files added to its input.
void receive_second_start(const QStringList &files);

// Everything before the event loop, once a QApplication exists: reads the settings file, builds
// the language table, images, theme and main window, and shows it.
void start_window_front();

// What the window needs once it exists: format lists, the first job, showing it, and the
// automatic update check (not in screenshot mode).
void post_window_init(RunMode mode);

// Everything after the event loop: the window geometry and the history go into the settings,
// the settings file is written (a failure is shown with the path and the reason), the main
// window is destroyed.
void finish_window_front();

// Stores the main window's state in the Window settings: maximised keeps the last normal size
// and position, minimised stores nothing.
void record_window_geometry();

// The size of the desktop the window opens on, which the window defaults centre it on.
QSize desktop_size();

// The language table, the built-in images and the theme's images. Screenshot mode needs them
// without the settings file.
void load_window_tables();

} // namespace lumbrix
