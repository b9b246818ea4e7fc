#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"

#include <QCheckBox>
#include <QComboBox>

namespace lumbrix {

FramePage::FramePage(QWidget *parent) : PreferencePage(parent) {
  frame_ = add_form()->add_list("Frame Type", {"None", "Frame Solid"}, {"Frame", "Do Frame"});
  panel_ = add_scrolled_form();
  panel_->add_number("Left", {"Pixels"}, {"Frame", "Solid Left"});
  panel_->add_number("Right", {"Pixels"}, {"Frame", "Solid Right"});
  panel_->add_number("Top", {"Pixels"}, {"Frame", "Solid Top"});
  panel_->add_number("Bottom", {"Pixels"}, {"Frame", "Solid Bottom"});
  panel_->add_colour("Left Color", {"Frame", "Solid Left Color"});
  panel_->add_colour("Right Color", {"Frame", "Solid Right Color"});
  panel_->add_colour("Top Color", {"Frame", "Solid Top Color"});
  panel_->add_colour("Bottom Color", {"Frame", "Solid Bottom Color"});
  panel_->add_slider("Opacity", {1, 255}, {"Frame", "Solid Opacity"});
}

void FramePage::apply_rules() { panel_->setVisible(frame_->currentIndex() == 1); }

} // namespace lumbrix
