#pragma once

#include <QString>

namespace lumbrix {

// Another program of this package: beside this one (a build folder) or in the install's
// libexec/lumbrix/, found relative to this one (installed). Empty when it is in neither place
// or this program's own folder is unknown.
QString sibling_program(const QString &name);

// The program name of this package as seen from a program in folder; empty for an empty folder.
QString sibling_program_in(const QString &folder, const QString &name);

// Replaces this process by the program at path with the same arguments (argv[0] becomes path).
// Returns only when that fails, with errno set.
void replace_process(const QString &path, char **argv);

} // namespace lumbrix
