#include "ui/system_fonts.h"

#include "prefs/preference_rules.h"

namespace lumbrix {

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
