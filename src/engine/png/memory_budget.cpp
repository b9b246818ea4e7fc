#include "engine/png/memory_budget.h"

#include <algorithm>

namespace lumbrix {
namespace {

constexpr qint64 megabyte = 1000 * 1000;
constexpr qint64 library_room = 100 * megabyte;

// Bytes a pixel of a picture with four samples of 8 or 16 bits.
qint64 picture_bytes(bool sixteen_bit) { return sixteen_bit ? 8 : 4; }

qint64 megabytes_up(qint64 bytes) { return (bytes + megabyte - 1) / megabyte; }

} // namespace

qint64 conversion_budget(qint64 width, qint64 height, bool sixteen_bit, bool sixteen_bit_output,
                         qint64 file_bytes) {
  const qint64 pixels = width * height;
  const qint64 decoded = pixels * picture_bytes(sixteen_bit);
  const qint64 worked = pixels * picture_bytes(sixteen_bit_output);
  const qint64 held = std::max(decoded + worked, 2 * worked);
  return std::max(held, decoded + file_bytes) + library_room;
}

QString memory_refusal(int width, int height, bool sixteen_bit, bool sixteen_bit_output,
                       qint64 file_bytes, qint64 available) {
  const qint64 budget =
      conversion_budget(width, height, sixteen_bit, sixteen_bit_output, file_bytes);
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
