#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>

namespace lumbrix {
namespace {

constexpr int custom_timestamp = 2;

} // namespace

AdvancedPage::AdvancedPage(QWidget *parent) : PreferencePage(parent) {
  form_ = add_scrolled_form();
  form_->add_text("Filename Mask", {"Advanced", "Filename Mask"});
  timestamp_ = form_->add_list("File Timestamp", {"Current", "Original", "Custom"},
                               {"Advanced", "File Timestamp"});
  custom_timestamp_ = form_->add_date("Custom Timestamp", {"Advanced", "Custom Timestamp"});
  form_->add_list("Out Folders History", {"Clean On Exit", "Keep Folders"},
                  {"Advanced", "Out Folders History"});
  form_->add_slider("Out Folders Number", {1, 50}, {"Advanced", "Out Folders Number"});
  // Kept and written back, but not offered.
  QWidget *subfolders = form_->add_check("Keep Subfolders", {"Advanced", "Keep Subfolders"});
  form_->set_row_visible(subfolders, false);
}

void AdvancedPage::apply_rules() {
  form_->set_row_enabled(custom_timestamp_, timestamp_->currentIndex() == custom_timestamp);
}

} // namespace lumbrix
