#include "engine/settings/product.h"

namespace lumbrix {

const QStringList &input_formats() {
  static const QStringList formats{QStringLiteral("png")};
  return formats;
}

const QStringList &output_formats() {
  static const QStringList formats{QStringLiteral("psd")};
  return formats;
}

QString format_version(int version) {
  QString text = QString::number(version);
  if (text.size() >= 2)
    text.insert(1, QLatin1Char('.'));
  if (text.size() >= 4)
    text.insert(3, QLatin1Char('.'));
  if (text.endsWith(QLatin1Char('0')))
    text.truncate(3);
  return text;
}

QString window_title() {
  return QLatin1String(product_title) + QLatin1Char(' ') + format_version(product_version);
}

} // namespace lumbrix
