#include "platform/system_memory.h"

#include <QByteArrayList>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <malloc.h>
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

// One group's limit less its usage, from the two files that hold them; unknown when either
// cannot be read (v2 says "max" for no limit).
qint64 group_headroom(const QByteArray &folder, const char *limit_file, const char *usage_file) {
  bool limited = false;
  bool read = false;
  const qint64 limit =
      read_small_file((folder + limit_file).constData()).trimmed().toLongLong(&limited);
  const qint64 used =
      read_small_file((folder + usage_file).constData()).trimmed().toLongLong(&read);
  return limited && read ? std::max<qint64>(0, limit - used) : unknown;
}

// The group at path below mount and every group above it up to mount itself: a parent's limit
// binds its children too, and a container may see only the folders from its own group down.
qint64 hierarchy_headroom(const QByteArray &mount, QByteArray path, const char *limit_file,
                          const char *usage_file) {
  qint64 headroom = unknown;
  for (;;) {
    headroom = std::min(headroom, group_headroom(mount + path, limit_file, usage_file));
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
      return headroom;
    path.truncate(slash);
  }
}

qint64 system_available() {
  return kilobyte_field(read_small_file("/proc/meminfo"), "MemAvailable");
}

} // namespace

qint64 cgroup_headroom(const QByteArray &groups, const QByteArray &root) {
  qint64 headroom = unknown;
  for (const QByteArray &line : groups.split('\n')) {
    const QList<QByteArray> fields = line.split(':');
    if (fields.size() < 3)
      continue;
    // The path itself may hold ':'.
    const QByteArray path = line.mid(fields[0].size() + fields[1].size() + 2);
    if (fields[0] == "0" && fields[1].isEmpty())
      headroom =
          std::min(headroom, hierarchy_headroom(root, path, "/memory.max", "/memory.current"));
    else if (fields[1].split(',').contains("memory"))
      headroom =
          std::min(headroom, hierarchy_headroom(root + "/memory", path, "/memory.limit_in_bytes",
                                                "/memory.usage_in_bytes"));
  }
  return headroom;
}

qint64 memory_headroom(double system_share) {
  QByteArray status;
  const qint64 system = system_available();
  const qint64 shared = system == unknown ? unknown : static_cast<qint64>(system * system_share);
  return std::min({shared, limit_headroom(RLIMIT_AS, status, "VmSize"),
                   limit_headroom(RLIMIT_DATA, status, "VmData"),
                   cgroup_headroom(read_small_file("/proc/self/cgroup"), "/sys/fs/cgroup")});
}

void fit_allocator_to_address_limit() {
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
    mallopt(M_ARENA_MAX, 2);
}

} // namespace lumbrix
