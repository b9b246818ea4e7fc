#include "cli/setting_options.h"

#include "cli/keywords.h"
#include "cli/option_values.h"
#include "engine/settings/settings_keys.h"

#include <map>

namespace lumbrix {
namespace {

using Apply = std::function<void(Settings &, const OptionValue &)>;

// Keyword tables of the per-format keys that are written as keywords.
} // namespace

int per_format_keyword_table(const QString &key) {
  static const std::map<QString, int> tables{
      {QStringLiteral("DDS Load As"), kw_dds_load},
      {QStringLiteral("GIF Frame Loading"), kw_frame_loading},
      {QStringLiteral("ICO Frame Loading"), kw_frame_loading},
      {QStringLiteral("TIFF Frame Loading"), kw_frame_loading},
      {QStringLiteral("RAW Load As"), kw_raw_load},
      {QStringLiteral("RAW Tone Mapping"), kw_tone_mapping},
      {QStringLiteral("BMP Compression"), kw_compression},
      {QStringLiteral("EXR Compression"), kw_compression},
      {QStringLiteral("PNG Compression"), kw_compression},
      {QStringLiteral("PSD Compression"), kw_compression},
      {QStringLiteral("TGA Compression"), kw_compression},
      {QStringLiteral("TIFF Compression"), kw_compression},
      {QStringLiteral("BMP Color Table"), kw_color_table},
      {QStringLiteral("TIFF Color Model"), kw_color_model},
      {QStringLiteral("JPG Chroma"), kw_chroma},
      {QStringLiteral("JPG Save As"), kw_jpeg_save},
  };
  const auto it = tables.find(key);
  return it == tables.end() ? -1 : it->second;
}

namespace {

QString per_format_option_name(const QString &key) {
  if (key == QLatin1String("RAW Image Width"))
    return QStringLiteral("--RAW-WIDTH");
  if (key == QLatin1String("RAW Image Height"))
    return QStringLiteral("--RAW-HEIGHT");
  return QStringLiteral("--") + key.toUpper().replace(QLatin1Char(' '), QLatin1Char('-'));
}

// One option per per-format key of the settings table, named after the key.
void add_per_format_options(std::vector<SettingOption> &options) {
  for (const SettingKey &k : setting_keys()) {
    if (!k.format)
      continue;
    const QString key = QString::fromLatin1(k.key);
    const SettingKey *bound = &k;
    SettingOption option{
        per_format_option_name(key), ValueKind::Number, per_format_keyword_table(key), {}};
    if (k.type == KeyType::Flag) {
      option.kind = ValueKind::None;
      option.apply = [bound](Settings &s, const OptionValue &) { set_key_int(s, *bound, 1); };
    } else {
      if (option.keyword_table >= 0)
        option.kind = ValueKind::Keyword;
      option.apply = [bound](Settings &s, const OptionValue &v) {
        set_key_int(s, *bound, v.number);
      };
    }
    options.push_back(std::move(option));
  }
}

// Settings written by an option: the switch it turns on first (if any), then the field itself.
template <typename T, typename E = Flag>
Apply set_field(T Settings::*field, E Settings::*enable = nullptr,
                E enable_value = static_cast<E>(1)) {
  return [field, enable, enable_value](Settings &s, const OptionValue &v) {
    if (enable)
      s.*enable = enable_value;
    if constexpr (std::is_same_v<T, QString>)
      s.*field = v.text;
    else if constexpr (std::is_same_v<T, float>)
      s.*field = v.real;
    else
      s.*field = static_cast<T>(v.number);
  };
}

Apply set_flag(Flag Settings::*field, Flag Settings::*enable = nullptr) {
  return [field, enable](Settings &s, const OptionValue &) {
    if (enable)
      s.*enable = 1;
    s.*field = 1;
  };
}

SettingOption opt(const char *name, ValueKind kind, Apply apply, int table = -1) {
  return SettingOption{QString::fromLatin1(name), kind, table, std::move(apply)};
}

void add_transform_options(std::vector<SettingOption> &o) {
  using S = Settings;
  const auto K = ValueKind::Keyword;
  const auto N = ValueKind::Number;
  const auto T = ValueKind::Text;
  const auto F = ValueKind::None;
  o.push_back(opt("--ROTATION-TYPE", K, set_field(&S::image_rotation_type), kw_rotation_type));
  o.push_back(opt("--ROTATION", N, set_field(&S::image_rotation, &S::do_image_rotation)));
  o.push_back(opt("--ROTATION-BACK-COLOR", T, set_field(&S::image_rotation_back_color)));
  o.push_back(opt("--WIDTH", N, set_field(&S::image_width, &S::do_image_resize)));
  o.push_back(opt("--WIDTH-UNIT", K, set_field(&S::image_width_unit), kw_size_unit));
  o.push_back(opt("--HEIGHT", N, set_field(&S::image_height, &S::do_image_resize)));
  o.push_back(opt("--HEIGHT-UNIT", K, set_field(&S::image_height_unit), kw_size_unit));
  o.push_back(opt("--KEEP-ASPECT-RATIO", F, set_flag(&S::keep_aspect_ratio)));
  o.push_back(opt("--RESIZE-TYPE", K, set_field(&S::image_resize_type), kw_resize_type));
  o.push_back(
      opt("--RESIZE-ALGORITHM", K, set_field(&S::image_resize_algorithm), kw_resize_algorithm));
  o.push_back(opt("--FLIP-HORIZONTAL", F, set_flag(&S::do_image_flip_horizontal)));
  o.push_back(opt("--FLIP-VERTICAL", F, set_flag(&S::do_image_flip_vertical)));
  o.push_back(
      opt("--BRIGHTNESS", N, set_field(&S::image_brightness, &S::do_image_color_correction)));
  o.push_back(opt("--CONTRAST", N, set_field(&S::image_contrast, &S::do_image_color_correction)));
  o.push_back(
      opt("--GAMMA", ValueKind::Float, set_field(&S::image_gamma, &S::do_image_color_correction)));
  o.push_back(opt("--INVERT", F, set_flag(&S::image_invert, &S::do_image_color_correction)));
  o.push_back(opt("--GREYSCALE", F, set_flag(&S::do_image_greyscale)));
  o.push_back(opt("--THRESHOLD", N, set_field(&S::image_threshold, &S::do_image_threshold)));
}

void add_frame_options(std::vector<SettingOption> &o) {
  using S = Settings;
  const auto N = ValueKind::Number;
  const auto T = ValueKind::Text;
  o.push_back(opt("--FR-SOLID-LEFT", N, set_field(&S::solid_left, &S::do_frame)));
  o.push_back(opt("--FR-SOLID-RIGHT", N, set_field(&S::solid_right, &S::do_frame)));
  o.push_back(opt("--FR-SOLID-TOP", N, set_field(&S::solid_top, &S::do_frame)));
  o.push_back(opt("--FR-SOLID-BOTTOM", N, set_field(&S::solid_bottom, &S::do_frame)));
  o.push_back(opt("--FR-SOLID-LEFT-COLOR", T, set_field(&S::solid_left_color)));
  o.push_back(opt("--FR-SOLID-RIGHT-COLOR", T, set_field(&S::solid_right_color)));
  o.push_back(opt("--FR-SOLID-TOP-COLOR", T, set_field(&S::solid_top_color)));
  o.push_back(opt("--FR-SOLID-BOTTOM-COLOR", T, set_field(&S::solid_bottom_color)));
  o.push_back(opt("--FR-SOLID-OPACITY", N, set_field(&S::solid_opacity)));
}

void add_text_watermark_options(std::vector<SettingOption> &o) {
  using S = Settings;
  const auto K = ValueKind::Keyword;
  const auto N = ValueKind::Number;
  const auto T = ValueKind::Text;
  o.push_back(opt("--WM-TEXT", T, set_field(&S::text, &S::do_watermark, WatermarkKind::Text)));
  o.push_back(opt("--WM-FONT", T, set_field(&S::font)));
  o.push_back(opt("--WM-FONT-SIZE", N, set_field(&S::font_size)));
  o.push_back(opt("--WM-FONT-LEADING", N, set_field(&S::font_leading)));
  o.push_back(opt("--WM-FONT-COLOR", T, set_field(&S::font_color)));
  o.push_back(opt("--WM-FONT-STYLE", K, set_field(&S::font_style), kw_font_style));
  o.push_back(opt("--WM-FONT-EFFECT", K, set_field(&S::font_effect), kw_font_effect));
  o.push_back(opt("--WM-TEXT-ANTIALIASING", ValueKind::None, set_flag(&S::text_antialiasing)));
  o.push_back(opt("--WM-TEXT-ALIGNMENT", K, set_field(&S::text_alignment), kw_alignment));
  o.push_back(opt("--WM-TEXT-PADDING", N, set_field(&S::text_padding)));
  o.push_back(opt("--WM-TEXT-OPACITY", N, set_field(&S::text_opacity)));
  o.push_back(opt("--WM-BACK-COLOR", T, set_field(&S::back_color)));
  o.push_back(opt("--WM-BACK-OPACITY", N, set_field(&S::back_opacity)));
  o.push_back(opt("--WM-TEXT-BOUNDARY", K, set_field(&S::text_boundary), kw_boundary));
  o.push_back(opt("--WM-TEXT-POSITION", K, set_field(&S::text_position), kw_position));
  o.push_back(opt("--WM-TEXT-X-OFFSET", N, set_field(&S::text_x_offset)));
  o.push_back(opt("--WM-TEXT-Y-OFFSET", N, set_field(&S::text_y_offset)));
  o.push_back(opt("--WM-TEXT-ROTATION", N, set_field(&S::text_rotation)));
  o.push_back(opt("--WM-TEXT-SIZE", K, set_field(&S::text_size), kw_size));
}

void add_image_watermark_and_naming_options(std::vector<SettingOption> &o) {
  using S = Settings;
  const auto K = ValueKind::Keyword;
  const auto N = ValueKind::Number;
  const auto T = ValueKind::Text;
  o.push_back(opt("--WM-IMAGE", T, set_field(&S::image, &S::do_watermark, WatermarkKind::Image)));
  o.push_back(opt("--WM-IMAGE-GREYSCALE", ValueKind::None, set_flag(&S::image_greyscale)));
  o.push_back(opt("--WM-IMAGE-OPACITY", N, set_field(&S::image_opacity)));
  o.push_back(opt("--WM-IMAGE-BOUNDARY", K, set_field(&S::image_boundary), kw_boundary));
  o.push_back(opt("--WM-IMAGE-POSITION", K, set_field(&S::image_position), kw_position));
  o.push_back(opt("--WM-IMAGE-X-OFFSET", N, set_field(&S::image_x_offset)));
  o.push_back(opt("--WM-IMAGE-Y-OFFSET", N, set_field(&S::image_y_offset)));
  o.push_back(opt("--WM-IMAGE-ROTATION", N, set_field(&S::wm_image_rotation)));
  o.push_back(opt("--WM-IMAGE-SIZE", K, set_field(&S::image_size), kw_size));
  o.push_back(opt("--FILENAME-MASK", T, set_field(&S::filename_mask)));
  o.push_back(opt("--FILE-TIMESTAMP", K, set_field(&S::file_timestamp), kw_timestamp));
  o.push_back(opt("--FILE-TIMESTAMP-CUSTOM", N, set_field(&S::custom_timestamp)));
  o.push_back(opt("--NO-SUBFOLDERS", ValueKind::None,
                  [](Settings &s, const OptionValue &) { s.keep_subfolders = 0; }));
}

std::vector<SettingOption> build_setting_options() {
  std::vector<SettingOption> options;
  add_per_format_options(options);
  add_transform_options(options);
  add_frame_options(options);
  add_text_watermark_options(options);
  add_image_watermark_and_naming_options(options);
  return options;
}

} // namespace

const std::vector<SettingOption> &setting_options() {
  static const std::vector<SettingOption> options = build_setting_options();
  return options;
}

const SettingOption *find_setting_option(const QString &upper_name) {
  for (const SettingOption &option : setting_options()) {
    if (option.name == upper_name)
      return &option;
  }
  return nullptr;
}

OptionValue read_option_value(const SettingOption &option, const QString &raw) {
  OptionValue value;
  switch (option.kind) {
  case ValueKind::None:
    break;
  case ValueKind::Number:
    value.number = parse_number(raw);
    break;
  case ValueKind::Float:
    value.real = parse_float(raw);
    break;
  case ValueKind::Keyword:
    value.number = keyword_value(option.keyword_table, raw.trimmed());
    break;
  case ValueKind::Text:
    value.text = raw;
    break;
  }
  return value;
}

} // namespace lumbrix
