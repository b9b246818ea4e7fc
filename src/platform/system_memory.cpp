#include "platform/system_memory.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <limits>
#include <sys/resource.h>

namespace lumbrix {
namespace {

constexpr qint64 unknown = std::numeric_limits<qint64>::max();

QByteArray read_small_file(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.read(64 * 1024) : QByteArray();
}

// "Name:   1234 kB" in a /proc status-style file, in bytes; unknown without it.
qint64 kilobyte_field(const QByteArray &text, const QByteArray &name) {
  for (const QByteArray &line : text.split('\n')) {
    if (!line.startsWith(name + ':'))
      continue;
    bool ok = false;
    const qint64 kb = line.mid(name.size() + 1).trimmed().split(' ').value(0).toLongLong(&ok);
    return ok ? kb * 1024 : unknown;
  }
  return unknown;
}

qint64 limit_headroom(int resource, const QByteArray &status, const QByteArray &field) {
  rlimit limit{};
  if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
    return unknown;
  const qint64 used = kilobyte_field(status, field);
  if (used == unknown)
    return unknown;
  return std::max<qint64>(0, static_cast<qint64>(limit.rlim_cur) - used);
}

// cgroup v2: the group's limit less what the group uses now.
qint64 cgroup_headroom() {
  const QByteArray groups = read_small_file(QStringLiteral("/proc/self/cgroup"));
  for (const QByteArray &line : groups.split('\n')) {
    if (!line.startsWith("0::"))
      continue;
    const QString folder = QStringLiteral("/sys/fs/cgroup") + QString::fromUtf8(line.mid(3));
    bool limited = false;
    bool read = false;
    const qint64 limit = read_small_file(folder + "/memory.max").trimmed().toLongLong(&limited);
    const qint64 used = read_small_file(folder + "/memory.current").trimmed().toLongLong(&read);
    return limited && read ? std::max<qint64>(0, limit - used) : unknown;
  }
  return unknown;
}

qint64 system_available() {
  return kilobyte_field(read_small_file(QStringLiteral("/proc/meminfo")), "MemAvailable");
}

} // namespace

qint64 available_memory() {
  const qint64 available = system_available();
  return available == unknown ? 0 : available;
}

qint64 memory_headroom() {
  const QByteArray status = read_small_file(QStringLiteral("/proc/self/status"));
  return std::min({system_available(), limit_headroom(RLIMIT_AS, status, "VmSize"),
                   limit_headroom(RLIMIT_DATA, status, "VmData"), cgroup_headroom()});
}

} // namespace lumbrix
