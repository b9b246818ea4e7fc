#include "platform/system_memory.h"

#include <QByteArrayList>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>

namespace lumbrix {
namespace {

constexpr qint64 unknown = std::numeric_limits<qint64>::max();

// Straight from the descriptor: these files are read before every picture, and QFile's checks
// of the path cost more than the reading.
QByteArray read_small_file(const char *path) {
  constexpr qsizetype most = 64 * 1024;
  QByteArray text;
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return text;
  text.resize(most);
  qsizetype size = 0;
  while (size < most) {
    const ssize_t got = ::read(fd, text.data() + size, static_cast<std::size_t>(most - size));
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      break;
    size += got;
  }
  ::close(fd);
  text.truncate(size);
  return text;
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

// status: this process's /proc status, read here when a limit first needs it.
qint64 limit_headroom(int resource, QByteArray &status, const QByteArray &field) {
  rlimit limit{};
  if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
    return unknown;
  if (status.isEmpty())
    status = read_small_file("/proc/self/status");
  const qint64 used = kilobyte_field(status, field);
  if (used == unknown)
    return unknown;
  return std::max<qint64>(0, static_cast<qint64>(limit.rlim_cur) - used);
}

// cgroup v2: the group's limit less what the group uses now.
qint64 cgroup_headroom() {
  const QByteArray groups = read_small_file("/proc/self/cgroup");
  for (const QByteArray &line : groups.split('\n')) {
    if (!line.startsWith("0::"))
      continue;
    const QByteArray folder = "/sys/fs/cgroup" + line.mid(3);
    bool limited = false;
    bool read = false;
    const qint64 limit =
        read_small_file((folder + "/memory.max").constData()).trimmed().toLongLong(&limited);
    const qint64 used =
        read_small_file((folder + "/memory.current").constData()).trimmed().toLongLong(&read);
    return limited && read ? std::max<qint64>(0, limit - used) : unknown;
  }
  return unknown;
}

qint64 system_available() {
  return kilobyte_field(read_small_file("/proc/meminfo"), "MemAvailable");
}

} // namespace

qint64 available_memory() {
  const qint64 available = system_available();
  return available == unknown ? 0 : available;
}

qint64 memory_headroom() {
  QByteArray status;
  return std::min({system_available(), limit_headroom(RLIMIT_AS, status, "VmSize"),
                   limit_headroom(RLIMIT_DATA, status, "VmData"), cgroup_headroom()});
}

} // namespace lumbrix
