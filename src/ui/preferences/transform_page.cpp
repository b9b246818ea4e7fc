#include "ui/preferences/preference_controls.h"
#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"

#include <QCheckBox>
#include <QComboBox>

namespace lumbrix {
namespace {

constexpr SettingName width_unit{"Transform", "Image Width Unit"};
constexpr SettingName height_unit{"Transform", "Image Height Unit"};

} // namespace

TransformPage::TransformPage(QWidget *parent) : PreferencePage(parent) {
  form_ = add_scrolled_form();
  rotate_ = form_->add_check("Image Rotation", {"Transform", "Do Image Rotation"});
  rotation_rows_ = {
      form_->add_list("Rotation Type", {"Simple Rotation", "Advanced Rotation"},
                      {"Transform", "Image Rotation Type"}),
      form_->add_slider("Rotation Angle", {0, 360}, {"Transform", "Image Rotation"}),
      form_->add_colour("Background Color", {"Transform", "Image Rotation Back Color"})};
  resize_ = form_->add_check("Image Resize", {"Transform", "Do Image Resize"});
  resize_rows_ = {
      form_->add_number("Image Width", {"Pixels", "Percent"}, {"Transform", "Image Width"},
                        &width_unit),
      form_->add_number("Image Height", {"Pixels", "Percent"}, {"Transform", "Image Height"},
                        &height_unit),
      form_->add_check("Keep Aspect Ratio", {"Transform", "Keep Aspect Ratio"}),
      form_->add_list("Resize Type", {"All Images", "Large Images"},
                      {"Transform", "Image Resize Type"}),
      form_->add_list("Resize Algorithm",
                      {"Box", "Bilinear", "Bspline", "Bicubic", "Catmullrom", "Lanczos"},
                      {"Transform", "Image Resize Algorithm"})};
  form_->add_check("Image Flip Horizontal", {"Transform", "Do Image Flip Horizontal"});
  form_->add_check("Image Flip Vertical", {"Transform", "Do Image Flip Vertical"});
}

void TransformPage::apply_rules() {
  for (QWidget *row : rotation_rows_)
    form_->set_row_enabled(row, rotate_->isChecked());
  for (QWidget *row : resize_rows_)
    form_->set_row_enabled(row, resize_->isChecked());
}

} // namespace lumbrix
