#include "platform/instance_lock.h"

#include "platform/files.h"

#include <QDir>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumbrix {
namespace {

bool is_private_folder(const QString &path) {
  struct stat info {};
  return ::lstat(native_path(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
         info.st_uid == ::geteuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

QString user_name() {
  const passwd *entry = ::getpwuid(::geteuid());
  return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(::geteuid());
}

// An X display names a screen after a dot; every screen of it is one display.
QString x_display() {
  QString display = qEnvironmentVariable("DISPLAY");
  const qsizetype dot = display.lastIndexOf(QLatin1Char('.'));
  if (dot > display.lastIndexOf(QLatin1Char(':')) && display.contains(QLatin1Char(':')))
    display.truncate(dot);
  return display;
}

} // namespace

QString instance_folder() {
  for (const QString &folder : {qEnvironmentVariable("XDG_RUNTIME_DIR"),
                                QLatin1String("/run/user/") + QString::number(::geteuid())}) {
    if (!folder.isEmpty() && is_private_folder(folder))
      return folder + QLatin1Char('/');
  }
  // Made before it is checked, so that a missing one becomes ours; an existing one is only checked.
  const QString temporary = QDir::tempPath() + QLatin1String("/runtime-") + user_name();
  ::mkdir(native_path(temporary).constData(), S_IRWXU);
  return is_private_folder(temporary) ? temporary + QLatin1Char('/') : QString();
}

QString instance_display() {
  QStringList parts;
  for (const QString &display : {qEnvironmentVariable("WAYLAND_DISPLAY"), x_display()})
    if (!display.isEmpty())
      parts << display;
  const QString session = qEnvironmentVariable("XDG_SESSION_ID");
  if (parts.isEmpty() && !session.isEmpty())
    parts << QLatin1String("session ") + session;
  return parts.join(QLatin1Char(' '));
}

QString instance_file(const QString &name, const QString &extension) {
  const QString folder = instance_folder();
  if (folder.isEmpty())
    return QString();
  QString display = instance_display();
  display.replace(QLatin1Char('/'), QLatin1Char('_'));
  const QString on = display.isEmpty() ? QString() : QLatin1String(" on ") + display;
  return folder + name + on + extension;
}

QString instance_lock_path(const QString &name) {
  return instance_file(name, QStringLiteral(".lock"));
}

InstanceClaim claim_instance(const QString &name) {
  const QString path = instance_lock_path(name);
  if (path.isEmpty())
    return {};
  auto lock = std::make_unique<QLockFile>(path);
  // Age alone never makes a lock stale: only a lock whose process is gone is.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0))
    return {InstanceRole::first, std::move(lock)};
  // A lock that cannot be made at all says nothing of another window front.
  return {lock->error() == QLockFile::LockFailedError ? InstanceRole::second : InstanceRole::alone,
          nullptr};
}

} // namespace lumbrix
