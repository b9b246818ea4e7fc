#include "engine/image/image_limits.h"

namespace lumbrix {

QString size_limit_reason(qint64 width, qint64 height) {
  const QString limit = QString::number(max_image_side) + QStringLiteral(" pixels");
  if (width > max_image_side)
    return QStringLiteral("picture wider than ") + limit;
  if (height > max_image_side)
    return QStringLiteral("picture taller than ") + limit;
  return QString();
}

} // namespace lumbrix
