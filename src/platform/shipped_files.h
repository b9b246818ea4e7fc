#pragma once

#include <QString>

namespace lumbrix {

// The two places the program's own files are installed to.
enum class Shipped { data, documentation };

// Where a shipped file or folder (name; a folder ends with "/") is, for a program in
// program_folder: beside the program when it is there (a build tree), else in the install
// layout relative to the program (../share/lumbrix/ or ../share/doc/lumbrix/), so a moved
// installation still finds it. When neither exists, the path beside the program.
QString shipped_path(const QString &program_folder, Shipped kind, const QString &name);

} // namespace lumbrix
