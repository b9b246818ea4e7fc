#pragma once

namespace lumbrix {

// Fonts and text drawing need a QGuiApplication. The window front has one; the console front
// asks for one here and gets it on the offscreen platform, so no display is needed.

// Creates the application object when there is none; call from the main thread. False when a
// plain QCoreApplication is already running, which cannot serve fonts.
bool ensure_gui_application();

// True when fonts can be used.
bool gui_application_exists();

} // namespace lumbrix
