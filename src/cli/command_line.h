#pragma once

#include <QStringList>

namespace lumbrix {

// The console front. Returns the exit status when the command line was handled in console
// mode (help, version, an option error or a console run); returns -1 when the program goes on
// into window mode.
int command_line_main(const QStringList &parameters);

} // namespace lumbrix
