#pragma once

#include <QByteArray>

namespace lumbrix {

// Files to remove when SIGINT, SIGTERM or SIGHUP ends the process; the process then ends as the
// signal would have ended it. The handlers are installed on first use, for the signals that
// still have their default action.

// Returns a slot to pass to keep_on_signal, or -1 when every slot is taken.
int remove_on_signal(const QByteArray &native_path);
// The file at slot is no longer removed.
void keep_on_signal(int slot);

} // namespace lumbrix
