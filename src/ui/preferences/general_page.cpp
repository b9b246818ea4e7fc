#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"

#include <QComboBox>

namespace lumbrix {

GeneralPage::GeneralPage(QWidget *parent) : PreferencePage(parent) {
  PreferenceForm *form = add_scrolled_form();
  // English is the only language; OK stores its code whatever the file held.
  form->add_fixed_list("Language", {"English"});
  form->bind([](const Settings &) {}, [](Settings &s) { s.language = QStringLiteral("en"); });
  form->add_list(
      "Check for Updates",
      {"Every day", "Every week", "Every month", "Every 3 months", "Every 6 months", "Never"},
      {"General", "Update Range"});
  form->add_check("Save window position", {"General", "Save Window Position"});
}

} // namespace lumbrix
