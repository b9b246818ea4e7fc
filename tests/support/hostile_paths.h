#pragma once

#include <QString>
#include <QStringList>

namespace lumbrix::test {

// Inputs that are not regular files, made in folder with the given extension: a FIFO with no
// writer (opening it for reading would wait for ever), a link to /dev/zero (endless) and a
// folder. Empty when one cannot be made.
QStringList make_non_regular_inputs(const QString &folder, const QString &extension);

} // namespace lumbrix::test
