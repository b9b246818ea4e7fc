#include "engine/png/memory_budget.h"

namespace lumbrix {
namespace {

constexpr qint64 megabyte = 1000 * 1000;
constexpr qint64 library_room = 100 * megabyte;

} // namespace

qint64 picture_memory(qint64 width, qint64 height, bool sixteen_bit) {
  return (sixteen_bit ? 3 : 2) * width * height * 4;
}

qint64 conversion_budget(int width, int height, bool sixteen_bit) {
  return picture_memory(width, height, sixteen_bit) + library_room;
}

QString memory_refusal(int width, int height, bool sixteen_bit, qint64 available) {
  const qint64 budget = conversion_budget(width, height, sixteen_bit);
  if (budget <= available)
    return QString();
  return QStringLiteral("not enough memory: a %1 x %2 picture takes up to %3 MB to convert, "
                        "%4 MB are available")
      .arg(width)
      .arg(height)
      .arg((budget + megabyte - 1) / megabyte)
      .arg(available / megabyte);
}

} // namespace lumbrix
