#include "platform/system_memory.h"

#include <QFile>

namespace lumbrix {

qint64 available_memory() {
  QFile info(QStringLiteral("/proc/meminfo"));
  if (!info.open(QIODevice::ReadOnly))
    return 0;
  while (!info.atEnd()) {
    const QByteArray line = info.readLine();
    if (line.startsWith("MemAvailable:"))
      return line.mid(13).trimmed().split(' ').value(0).toLongLong() * 1024;
  }
  return 0;
}

} // namespace lumbrix
