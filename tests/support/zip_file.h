#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace lumbrix::test {

using ZipEntries = QList<QPair<QString, QByteArray>>;

// Writes a zip archive holding the entries in order; false when it cannot be written.
bool write_zip(const QString &path, const ZipEntries &entries);

} // namespace lumbrix::test
