#include "prefs/image_tables.h"
#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"

#include <QComboBox>

#include <algorithm>

namespace lumbrix {

FormatPage::FormatPage(const char *list_label, const QStringList &extensions,
                       QString Settings::*format, QWidget *parent)
    : PreferencePage(parent), extensions_(extensions) {
  PreferenceForm *top = add_form();
  formats_ = top->add_fixed_list(list_label, {});
  const QIcon icon = table_icon(ImageTable::Menus, QStringLiteral("New"));
  for (int i = 0; i < extensions.size(); ++i) {
    if (!extensions[i].isEmpty())
      formats_->addItem(icon, extensions[i].toUpper(), i);
  }
  top->bind(
      [this, format](const Settings &s) {
        const int entry = formats_->findData(extensions_.indexOf(s.*format));
        formats_->setCurrentIndex(std::max(0, entry));
      },
      [this, format](Settings &s) {
        if (formats_->currentIndex() >= 0)
          s.*format = selected_format();
      });
  panels_column_ = add_scrolled_column();
}

int FormatPage::selected_index() const { return formats_->currentData().toInt(); }

QString FormatPage::selected_format() const { return extensions_.value(selected_index()); }

PreferenceForm *FormatPage::add_panel(const QString &format) {
  PreferenceForm *panel = add_form(panels_column_);
  panels_.insert(format, panel);
  return panel;
}

void FormatPage::apply_rules() {
  const QString format = selected_format();
  for (auto it = panels_.cbegin(); it != panels_.cend(); ++it)
    it.value()->setVisible(it.key() == format);
}

} // namespace lumbrix
