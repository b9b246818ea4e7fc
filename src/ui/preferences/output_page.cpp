#include "engine/settings/format_catalogue.h"
#include "engine/settings/product.h"
#include "engine/settings/settings_keys.h"
#include "prefs/preference_rules.h"
#include "ui/preferences/preference_form.h"
#include "ui/preferences/preference_pages.h"

#include <QComboBox>

namespace lumbrix {
namespace {

enum class Shape { List, Check, Quality };

// The rows below "Bits Per Pixel:" of the formats that have more options.
struct OutputRow {
  const char *format;
  const char *label;
  Shape shape;
  const char *key; // nullptr: shown only
  std::vector<const char *> choices;
};

const OutputRow output_rows[] = {
    {"bmp", "Compression", Shape::List, "BMP Compression", {"None", "RLE"}},
    {"bmp", "Color Table", Shape::List, "BMP Color Table", {"Auto", "Exact"}},
    {"exr", "Compression", Shape::List, "EXR Compression", {"None", "ZIP", "PIZ", "PXR24", "B44"}},
    {"jpg", "Image Quality", Shape::Quality, "JPG Quality", {}},
    {"jpg", "Chroma Subsampling", Shape::List, "JPG Chroma", {"None", "Low", "Medium", "High"}},
    {"jpg",
     "Save As",
     Shape::List,
     "JPG Save As",
     {"Baseline Standard", "Baseline Simple", "Baseline Optimized", "Progressive"}},
    {"pcx", "Compression", Shape::List, nullptr, {"RLE"}},
    {"png", "Compression", Shape::List, "PNG Compression", {"None", "ZLIB1", "ZLIB6", "ZLIB9"}},
    {"png", "Interlaced", Shape::Check, "PNG Interlaced", {}},
    {"psd", "Layers", Shape::Check, "PSD Layers", {}},
    {"psd", "Compression", Shape::List, "PSD Compression", {"None", "RLE"}},
    {"tga", "Compression", Shape::List, "TGA Compression", {"None", "RLE"}},
    {"tiff",
     "Compression",
     Shape::List,
     "TIFF Compression",
     {"None", "CCITTFAX3", "CCITTFAX4", "PACKBITS", "DEFLATE", "ADOBEDEFLATE", "LZW", "JPEG",
      "LOGLUV"}},
    {"tiff", "Color Model", Shape::List, "TIFF Color Model", {"RGB", "CMYK"}},
};

void add_output_row(PreferenceForm *panel, const OutputRow &row) {
  const SettingName setting{"Output", row.key};
  switch (row.shape) {
  case Shape::List:
    if (row.key)
      panel->add_list(row.label, row.choices, setting);
    else
      panel->add_fixed_list(row.label, row.choices);
    break;
  case Shape::Check:
    panel->add_check(row.label, setting);
    break;
  case Shape::Quality:
    panel->add_slider(row.label, {1, 100}, setting);
    break;
  }
}

// "Auto" stores 0, any other entry the depth it names.
void add_depth_row(PreferenceForm *panel, const QString &format) {
  QComboBox *depths = panel->add_fixed_list("Bits Per Pixel", {"Auto"});
  depths->addItems(list_fields(output_format(format).bit_depths));
  const SettingKey *key =
      find_setting_key(QStringLiteral("Output"), format.toUpper() + QLatin1String(" BPP"));
  Q_ASSERT(key);
  panel->bind(
      [depths, key](const Settings &s) {
        const int depth = key_int(s, *key);
        depths->setCurrentIndex(depth == 0 ? 0 : depths->findText(QString::number(depth)));
      },
      [depths, key](Settings &s) {
        if (depths->currentIndex() >= 0)
          set_key_int(s, *key, depths->currentIndex() == 0 ? 0 : depths->currentText().toInt());
      });
}

} // namespace

OutputPage::OutputPage(QWidget *parent)
    : FormatPage("Output Format", output_formats(), &Settings::output_format, parent) {
  for (const auto &[format, description] : output_format_map())
    add_output_panel(format);
}

void OutputPage::add_output_panel(const QString &format) {
  PreferenceForm *panel = add_panel(format);
  add_depth_row(panel, format);
  for (const OutputRow &row : output_rows) {
    if (format == QLatin1String(row.format))
      add_output_row(panel, row);
  }
}

} // namespace lumbrix
