#pragma once

#include <QString>

namespace lumbrix {

// Recent Out Folders: folders separated by tabs, newest first, at most Out Folders Number of them,
// compared without regard to letter case.

// Puts folder at the head of the history, dropping an older copy of it and whatever no longer
// fits. False (nothing changed) for an empty folder.
bool remember_out_folder(const QString &folder);

// After a run: the folder a run wrote files_written files to goes into the history as above; a
// folder nothing was written to (every file failed, or the run was stopped first) stays out.
bool remember_written_folder(const QString &folder, int files_written);

// The (n + 1)-th field of the history, trimmed of blanks; empty when there is none.
QString recent_out_folder(int n);

// The CRC-32 of the UTF-8 bytes of the upper-cased text: how folders are told apart.
quint32 folder_key(const QString &folder);

} // namespace lumbrix
