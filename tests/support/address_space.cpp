#include "support/address_space.h"

#include <QFile>

namespace lumbrix::test {

qint64 address_space_used() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly))
    return -1;
  for (const QByteArray &line : status.readAll().split('\n'))
    if (line.startsWith("VmSize:"))
      return line.mid(7).trimmed().split(' ')[0].toLongLong() * 1024;
  return -1;
}

AddressSpaceLimit::AddressSpaceLimit(qint64 room) {
  const qint64 used = address_space_used();
  if (used < 0 || getrlimit(RLIMIT_AS, &old_) != 0)
    return;
  const auto wanted = static_cast<rlim_t>(used + room);
  if (old_.rlim_max != RLIM_INFINITY && old_.rlim_max < wanted)
    return;
  rlimit tight = old_;
  tight.rlim_cur = wanted;
  ok_ = setrlimit(RLIMIT_AS, &tight) == 0;
}

AddressSpaceLimit::~AddressSpaceLimit() {
  if (ok_)
    setrlimit(RLIMIT_AS, &old_);
}

} // namespace lumbrix::test
