#include "prefs/preference_rules.h"
#include "prefs/themes.h"
#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"

#include <QComboBox>

#include <algorithm>

namespace lumbrix {

InterfacePage::InterfacePage(QWidget *parent) : PreferencePage(parent) {
  PreferenceForm *form = add_scrolled_form();
  QComboBox *themes = form->add_fixed_list("UI Theme", {});
  // Entries carry their theme's archive name, so unnamed themes left out of the list cannot
  // shift which theme an entry stands for.
  for (const ThemeEntry &entry : theme_entries(theme_table()))
    themes->addItem(entry.display, entry.name);
  if (themes->count() == 0)
    themes->addItem(preferences_text("None"), QString());
  form->bind(
      [themes](const Settings &s) {
        themes->setCurrentIndex(std::max(0, themes->findData(s.ui_theme)));
      },
      [themes](Settings &s) { s.ui_theme = themes->currentData().toString(); });
  form->add_list("UI Size", {"Small", "Medium", "Large"}, {"Interface", "UI Size"});
}

} // namespace lumbrix
