#include "support/hostile_paths.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace lumbrix::test {

QStringList make_non_regular_inputs(const QString &folder, const QString &extension) {
  const QString fifo = folder + QStringLiteral("/pipe.") + extension;
  const QString device = folder + QStringLiteral("/zero.") + extension;
  const QString subfolder = folder + QStringLiteral("/folder.") + extension;
  if (mkfifo(QFile::encodeName(fifo).constData(), 0600) != 0 ||
      !QFile::link(QStringLiteral("/dev/zero"), device) || !QDir().mkdir(subfolder))
    return {};
  return {fifo, device, subfolder};
}

} // namespace lumbrix::test
