#pragma once

#include <QStringList>

namespace lumbrix {

// The console help, line by line; program is the executable's name without folder and
// extension, extension an input extension of the build.
QStringList help_text(const QString &program, const QString &extension);

} // namespace lumbrix
