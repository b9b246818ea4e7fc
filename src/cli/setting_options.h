#pragma once

#include "engine/settings/settings.h"

#include <QString>

#include <functional>
#include <vector>

namespace lumbrix {

// How an option's value is read.
enum class ValueKind {
  None,    // a flag: any "=..." after the name is ignored
  Number,  // parse_number
  Float,   // parse_float
  Keyword, // keyword_value of the option's table, blanks trimmed
  Text,    // kept as is; on the command line joined across quoted parameters
};

struct OptionValue {
  int number = 0;
  float real = 0.0f;
  QString text;
};

// An option that writes conversion settings: the per-format, transform, adjustment, frame,
// watermark and naming options. These are the options a profile may hold as well.
struct SettingOption {
  QString name; // upper case with its leading "--"
  ValueKind kind = ValueKind::None;
  int keyword_table = -1;
  std::function<void(Settings &, const OptionValue &)> apply;
};

const std::vector<SettingOption> &setting_options();
const SettingOption *find_setting_option(const QString &upper_name);

// Keyword table of a per-format setting key ("JPG Chroma"), or -1 for a number key.
int per_format_keyword_table(const QString &key);

// Reads raw (already trimmed and unquoted as the caller wants) into a value of kind.
OptionValue read_option_value(const SettingOption &option, const QString &raw);

} // namespace lumbrix
