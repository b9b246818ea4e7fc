#include "platform/font_families.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace lumbrix {

bool font_installed(const QString &family) {
  return !family.trimmed().isEmpty() &&
         QFontDatabase::families().contains(family.trimmed(), Qt::CaseInsensitive);
}

QString sans_serif_family() {
  QFont font(QStringLiteral("sans-serif"));
  font.setStyleHint(QFont::SansSerif);
  return QFontInfo(font).family();
}

QString settled_font(const QString &stored, const QString &built_in_default) {
  if (stored.compare(built_in_default, Qt::CaseInsensitive) != 0 || font_installed(stored))
    return stored;
  const QString match = sans_serif_family();
  return match.isEmpty() ? stored : match;
}

} // namespace lumbrix
