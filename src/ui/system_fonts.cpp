#include "ui/system_fonts.h"

#include "prefs/preference_rules.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>

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

void settle_watermark_font(Settings &s) {
  s.font = settled_font(s.font, default_settings(SettingsUse::Window).font);
}

QStringList font_choices(const Settings &s) {
  QStringList choices = list_fields(s.fonts.isEmpty() ? s.font : s.fonts);
  if (!s.font.isEmpty() && !choices.contains(s.font) && font_installed(s.font))
    choices << s.font;
  return choices;
}

} // namespace lumbrix
