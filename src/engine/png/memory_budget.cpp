#include "engine/png/memory_budget.h"

#include <algorithm>

namespace lumbrix {
namespace {

constexpr qint64 megabyte = 1000 * 1000;
constexpr qint64 library_room = 100 * megabyte;

qint64 megabytes_up(qint64 bytes) { return (bytes + megabyte - 1) / megabyte; }

} // namespace

qint64 conversion_budget(qint64 width, qint64 height, bool sixteen_bit, qint64 file_bytes) {
  const qint64 picture = width * height * 4;
  const qint64 pictures = sixteen_bit ? 3 : 2;
  const qint64 decoding = (pictures - 1) * picture + file_bytes;
  return std::max(pictures * picture, decoding) + library_room;
}

QString memory_refusal(int width, int height, bool sixteen_bit, qint64 file_bytes,
                       qint64 available) {
  const qint64 budget = conversion_budget(width, height, sixteen_bit, file_bytes);
  if (budget <= available)
    return QString();
  return QStringLiteral("not enough memory: a %1 x %2 picture takes up to %3 MB to convert, "
                        "%4 MB are available")
      .arg(width)
      .arg(height)
      .arg(megabytes_up(budget))
      .arg(available / megabyte);
}

QString file_memory_refusal(qint64 file_bytes, qint64 available) {
  if (file_bytes <= available)
    return QString();
  return QStringLiteral("not enough memory: the file takes %1 MB to read, %2 MB are available")
      .arg(megabytes_up(file_bytes))
      .arg(available / megabyte);
}

} // namespace lumbrix
