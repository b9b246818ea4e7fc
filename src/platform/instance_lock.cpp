#include "platform/instance_lock.h"

#include <QDir>
#include <QStandardPaths>

namespace lumbrix {

QString instance_folder() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty())
    folder = QDir::tempPath();
  return folder + QLatin1Char('/');
}

QString instance_lock_path(const QString &name) {
  return instance_folder() + name + QLatin1String(".lock");
}

std::unique_ptr<QLockFile> single_instance(const QString &name) {
  auto lock = std::make_unique<QLockFile>(instance_lock_path(name));
  // Age alone never makes a lock stale: only a lock whose process is gone is.
  lock->setStaleLockTime(0);
  if (!lock->tryLock(0))
    return nullptr;
  return lock;
}

} // namespace lumbrix
