#pragma once

#include <QString>

// The program's desktop icon in the hicolor layout below folder: <n>x<n>/apps/lumbrix.png at the
// sizes menus and launchers ask for, and scalable/apps/lumbrix.svg when Qt's SVG module is built
// in. Returns false when a file cannot be written.
bool render_program_icon(const QString &folder);
