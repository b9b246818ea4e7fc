#include "ui/preferences/preference_controls.h"
#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"

#include <QCheckBox>

namespace lumbrix {

AdjustmentPage::AdjustmentPage(QWidget *parent) : PreferencePage(parent) {
  form_ = add_scrolled_form();
  // The sliders run 0..200 for -100..100.
  form_->add_slider("Image Brightness", {-100, 100, 100}, {"Adjustment", "Image Brightness"});
  form_->add_slider("Image Contrast", {-100, 100, 100}, {"Adjustment", "Image Contrast"});
  form_->add_gamma("Image Gamma", {"Adjustment", "Image Gamma"});
  form_->add_check("Image Invert", {"Adjustment", "Image Invert"});
  form_->add_check("Image Greyscale", {"Adjustment", "Do Image Greyscale"});
  threshold_ = form_->add_check("Image Threshold", {"Adjustment", "Do Image Threshold"});
  threshold_level_ =
      form_->add_slider("Threshold Level", {0, 255}, {"Adjustment", "Image Threshold"});
}

void AdjustmentPage::apply_rules() {
  form_->set_row_enabled(threshold_level_, threshold_->isChecked());
}

} // namespace lumbrix
