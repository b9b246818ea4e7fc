#pragma once

#include <QString>

namespace lumbrix {

// The two places the program's own files are installed to.
enum class Shipped { data, documentation };

// Where a shipped file or folder (name; a folder ends with "/") is, for a program in
// program_folder: beside the program when it is there (a build tree), else in the install
// layout relative to the program's own install folder (../share/lumbrix/ from bin/,
// ../../share/lumbrix/ from libexec/lumbrix/; the same for share/doc/lumbrix/), so a moved
// installation still finds it. When none exists, the path beside the program.
QString shipped_path(const QString &program_folder, Shipped kind, const QString &name);

// The same for the running program, or for the program folder a test names instead.
QString shipped_path(Shipped kind, const QString &name);

// Looks from folder (with a trailing separator) instead of the running program's; empty goes back.
void set_shipped_program_folder(const QString &folder);

} // namespace lumbrix
