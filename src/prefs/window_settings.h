#pragma once

#include "engine/settings/settings.h"

#include <QSize>
#include <QString>

namespace lumbrix {

// The window front's settings: read from the settings file at start, changed by the window and
// its dialogs, written back at exit. They outlive every call of the window front, so they are one
// record for the process; the console front never touches them, and a conversion works on a copy.
Settings &settings();

// Where the window front keeps its settings file; empty until load_window_settings.
QString window_settings_path();

// The window defaults for a desktop of that size, then the file at path over them. False when
// the file could not be read (the defaults stay); a file that is there but could not be read is
// set aside (set_aside_settings_file) rather than replaced at exit.
bool load_window_settings(const QString &path, QSize desktop);

// Writes settings() to the file load_window_settings named. False when it could not be written,
// with the system's reason in *reason if given.
bool save_window_settings(QString *reason = nullptr);

} // namespace lumbrix
