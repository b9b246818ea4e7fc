#pragma once

#include "ui/commands.h"

#include <QStringList>

namespace lumbrix {

// The main window's controls that report to the dispatcher.
enum class Control : int { FolderList = 5, FormatList = 7, ConvertButton = 8 };

// Acts on a command number; numbers without an action do nothing.
void dispatch_command(Command command);

// The user changed the output folder list or the output format list, or pressed Convert.
void control_event(Control control);

// Files dropped on the main window: the first one becomes the input; the rest are ignored.
void drop_files(const QStringList &paths);

// The vendor's pages and mailbox as the Help menu opens them.
QString help_file_path();
QString feedback_address();

} // namespace lumbrix
