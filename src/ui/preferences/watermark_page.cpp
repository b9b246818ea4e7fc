#include "prefs/message_boxes.h"
#include "prefs/preference_rules.h"
#include "prefs/window_settings.h"
#include "text/lang.h"
#include "ui/preferences/preference_controls.h"
#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"
#include "ui/system_fonts.h"

#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace lumbrix {
namespace {

constexpr int text_watermark = 1;
constexpr int image_watermark = 2;
constexpr int scaled_size = 1; // the entry of the Size lists that would show Scale

const std::vector<const char *> boundaries = {"Bound Image", "Bound Frame"};
const std::vector<const char *> positions = {"Top-Left",    "Top-Center",    "Top-Right",
                                             "Middle-Left", "Middle-Center", "Middle-Right",
                                             "Bottom-Left", "Bottom-Center", "Bottom-Right"};

// A control followed by its chooser button, in a row of its own; returns the button.
template <typename Control, typename Signal>
QToolButton *add_chooser_row(PreferenceForm *panel, const char *label_key, Control *control,
                             Signal signal) {
  auto *chooser = new ChooserField(control, panel);
  panel->add_row(label_key, chooser);
  QObject::connect(control, signal, panel, &PreferenceForm::edited);
  return chooser->button();
}

} // namespace

WatermarkPage::WatermarkPage(QWidget *parent) : PreferencePage(parent) {
  kind_ = add_form()->add_list("Watermark Type", {"None", "Watermark Text", "Watermark Image"},
                               {"Watermark", "Do Watermark"});
  QVBoxLayout *column = add_scrolled_column();
  add_text_panel(column);
  add_image_panel(column);
}

void WatermarkPage::add_text_panel(QVBoxLayout *column) {
  text_panel_ = add_form(column);
  PreferenceForm *panel = text_panel_;
  panel->add_text("Text", {"Watermark", "Text"});
  add_font_row();
  font_size_ = panel->add_number("Font Size", {"Points"}, {"Watermark", "Font Size"});
  panel->add_number("Font Leading", {"Pixels"}, {"Watermark", "Font Leading"});
  add_colour_list_row("Font Color", &Settings::font_colors, &Settings::font_color);
  font_style_ = panel->add_list("Font Style", {"Regular", "Bold", "Italic", "Bold Italic"},
                                {"Watermark", "Font Style"});
  panel->add_list("Font Effect", {"None", "Underline", "Strikeout"}, {"Watermark", "Font Effect"});
  panel->add_check("Antialiasing", {"Watermark", "Text Antialiasing"});
  panel->add_list("Text Alignment", {"Align Left", "Align Center", "Align Right"},
                  {"Watermark", "Text Alignment"});
  panel->add_number("Text Padding", {"Pixels"}, {"Watermark", "Text Padding"});
  panel->add_slider("Text Opacity", {1, 255}, {"Watermark", "Text Opacity"});
  add_colour_list_row("Background Color", &Settings::back_colors, &Settings::back_color);
  panel->add_slider("Background Opacity", {1, 255}, {"Watermark", "Back Opacity"});
  panel->add_list("Boundary", boundaries, {"Watermark", "Text Boundary"});
  panel->add_list("Position", positions, {"Watermark", "Text Position"});
  panel->add_number("X-Offset", {"Pixels"}, {"Watermark", "Text X Offset"});
  panel->add_number("Y-Offset", {"Pixels"}, {"Watermark", "Text Y Offset"});
  panel->add_slider("Rotation Angle", {0, 360}, {"Watermark", "Text Rotation"});
  text_size_ = panel->add_list("Size", {"Fixed"}, {"Watermark", "Text Size"});
  text_scale_ = panel->add_slider("Scale", {1, 200}, {"Watermark", "Text Scale"});
}

void WatermarkPage::add_image_panel(QVBoxLayout *column) {
  image_panel_ = add_form(column);
  PreferenceForm *panel = image_panel_;
  image_field_ = new QLineEdit;
  QToolButton *choose = add_chooser_row(panel, "Image", image_field_, &QLineEdit::textChanged);
  connect(choose, &QToolButton::clicked, this, &WatermarkPage::choose_image);
  panel->bind([this](const Settings &s) { image_field_->setText(s.image); },
              [this](Settings &s) { s.image = cleaned_text(image_field_->text()); });
  panel->add_check("Image Greyscale", {"Watermark", "Image Greyscale"});
  panel->add_slider("Opacity", {1, 255}, {"Watermark", "Image Opacity"});
  panel->add_list("Boundary", boundaries, {"Watermark", "Image Boundary"});
  panel->add_list("Position", positions, {"Watermark", "Image Position"});
  panel->add_number("X-Offset", {"Pixels"}, {"Watermark", "Image X Offset"});
  panel->add_number("Y-Offset", {"Pixels"}, {"Watermark", "Image Y Offset"});
  panel->add_slider("Rotation Angle", {0, 360}, {"Watermark", "Image Rotation"});
  image_size_ = panel->add_list("Size", {"Fixed"}, {"Watermark", "Image Size"});
  image_scale_ = panel->add_slider("Scale", {1, 200}, {"Watermark", "Image Scale"});
}

void WatermarkPage::add_font_row() {
  font_list_ = new QComboBox;
  QToolButton *choose =
      add_chooser_row(text_panel_, "Font", font_list_, &QComboBox::currentIndexChanged);
  connect(choose, &QToolButton::clicked, this, &WatermarkPage::choose_font);
  text_panel_->bind(
      [this](const Settings &s) {
        font_list_->clear();
        font_list_->addItems(font_choices(s));
        font_list_->setCurrentIndex(0);
        const int font = font_list_->findText(s.font);
        if (font >= 0)
          font_list_->setCurrentIndex(font);
      },
      [this](Settings &s) { s.font = font_list_->currentText(); });
}

void WatermarkPage::add_colour_list_row(const char *label_key, QString Settings::*list,
                                        QString Settings::*selected) {
  auto *colours = new QComboBox;
  QToolButton *choose =
      add_chooser_row(text_panel_, label_key, colours, &QComboBox::currentIndexChanged);
  text_panel_->bind(
      [colours, list, selected](const Settings &s) {
        colours->clear();
        for (const QString &field : list_fields(s.*list))
          add_colour_entry(colours, colour_from_text(field));
        colours->setCurrentIndex(0);
        select_colour(colours, colour_from_text(s.*selected));
      },
      [colours, selected](Settings &s) {
        s.*selected = colour_text_form(selected_colour(colours));
      });
  // A new colour joins the offered ones at once, whether or not the dialog is confirmed.
  connect(choose, &QToolButton::clicked, this, [colours, list] {
    const std::optional<QColor> chosen = system_dialogs().choose_colour(selected_colour(colours));
    if (!chosen)
      return;
    settings().*list = colours_with(settings().*list, *chosen);
    if (!select_colour(colours, *chosen)) {
      add_colour_entry(colours, *chosen);
      select_colour(colours, *chosen);
    }
  });
}

void WatermarkPage::choose_font() {
  const QFont initial(font_list_->currentText(), font_size_->number());
  const std::optional<QFont> chosen = system_dialogs().choose_font(initial);
  if (!chosen)
    return;
  QString name = chosen->family();
  name.remove(QLatin1Char(','));
  settings().fonts = fonts_with(settings().fonts, settings().font, name);
  if (font_list_->findText(name) < 0)
    font_list_->addItem(name);
  font_list_->setCurrentIndex(font_list_->findText(name));
  if (chosen->pointSize() > 0)
    font_size_->set_number(chosen->pointSize());
  font_style_->setCurrentIndex(
      font_style_index(chosen->bold(), chosen->style() != QFont::StyleNormal));
}

void WatermarkPage::choose_image() {
  const QString file = system_dialogs().open_file(
      lang(QStringLiteral("Dialog"), QStringLiteral("Select Watermark Image")),
      watermark_image_filter(), image_field_->text().trimmed());
  if (!file.isEmpty())
    image_field_->setText(file);
}

void WatermarkPage::apply_rules() {
  text_panel_->setVisible(kind_->currentIndex() == text_watermark);
  image_panel_->setVisible(kind_->currentIndex() == image_watermark);
  text_panel_->set_row_visible(text_scale_, text_size_->currentIndex() == scaled_size);
  image_panel_->set_row_visible(image_scale_, image_size_->currentIndex() == scaled_size);
}

} // namespace lumbrix
