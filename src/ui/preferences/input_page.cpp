#include "engine/settings/product.h"
#include "prefs/preference_rules.h"
#include "ui/preferences/preference_controls.h"
#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"

#include <QComboBox>

namespace lumbrix {
namespace {

const std::vector<const char *> frame_loading = {"All Frames", "First Frame", "Middle Frame",
                                                 "Last Frame", "Random Frame"};

} // namespace

InputPage::InputPage(QWidget *parent)
    : FormatPage("Input Format", input_formats(), &Settings::input_format, parent) {
  add_panel(QStringLiteral("dds"))
      ->add_list("Load As", {"Auto", "BGRA", "RGBA"}, {"Input", "DDS Load As"});
  add_panel(QStringLiteral("gif"))
      ->add_list("Frame Loading", frame_loading, {"Input", "GIF Frame Loading"});
  add_panel(QStringLiteral("ico"))
      ->add_list("Frame Loading", frame_loading, {"Input", "ICO Frame Loading"});
  add_raw_panel();
  add_panel(QStringLiteral("tiff"))
      ->add_list("Frame Loading", frame_loading, {"Input", "TIFF Frame Loading"});
}

void InputPage::add_raw_panel() {
  raw_ = add_panel(QStringLiteral("raw"));
  raw_load_as_ = raw_->add_list("Load As", {"Auto", "RGB8", "RGB16", "RGB24", "RGB48HS", "RGB48"},
                                {"Input", "RAW Load As"});
  raw_size_rows_ = {raw_->add_number("Header Size", {"Bytes"}, {"Input", "RAW Header Size"}),
                    raw_->add_number("Image Width", {"Pixels"}, {"Input", "RAW Image Width"}),
                    raw_->add_number("Image Height", {"Pixels"}, {"Input", "RAW Image Height"})};
  raw_tone_mapping_ = raw_->add_list(
      "Tone Mapping", {"None", "Linear", "Adaptive Logarithmic", "DR Reduction", "Gradient Domain"},
      {"Input", "RAW Tone Mapping"});
}

void InputPage::apply_rules() {
  FormatPage::apply_rules();
  const RawRows rows = raw_rows(raw_load_as_->currentIndex());
  for (QWidget *row : raw_size_rows_)
    raw_->set_row_enabled(row, rows.size_rows);
  raw_->set_row_enabled(raw_tone_mapping_, rows.tone_mapping);
}

} // namespace lumbrix
