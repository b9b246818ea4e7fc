#pragma once

#include "engine/settings/settings.h"

#include <span>
#include <variant>

namespace lumbrix {

enum class KeyType { Flag, Byte, Int, Float, Text };

// Where a key's default comes from when it is not a constant.
enum class DefaultKind {
  Value,   // the text in default_value
  Now,     // the current local date-time
  CentreX, // the window centred on the desktop
  CentreY,
  FirstInput,    // first extension of the build's input list
  FirstOutput,   // first extension of the build's output list
  AspectRatio,   // 1 in window mode, 0 in console mode
  WatermarkText, // the build's default watermark text
};

using SettingMember =
    std::variant<Flag Settings::*, int Settings::*, float Settings::*, QString Settings::*,
                 FrameKind Settings::*, WatermarkKind Settings::*, TimestampKind Settings::*>;

struct SettingKey {
  const char *section;
  const char *key;
  KeyType type;
  SettingMember member;
  DefaultKind default_kind;
  const char *default_value; // for DefaultKind::Value
  const char *fallback;      // value when the file lacks the key; nullptr means the default
  const char *format;        // per-format key: the extension it belongs to; nullptr otherwise
  bool trimmed;              // leading and trailing spaces are dropped when read from a file
};

// Every key of config.ini in file order: sections in order, keys in order within each.
std::span<const SettingKey> setting_keys();

// The key with that section and name (case-insensitive), or nullptr.
const SettingKey *find_setting_key(const QString &section, const QString &key);

// The "<EXT> BPP" setting of an output format; 0 for a format without one.
int output_bpp_setting(const Settings &s, const QString &extension);

// Field access through a key; integers are narrowed to one byte for Flag and Byte keys and for
// the choices stored as enumerations.
int key_int(const Settings &s, const SettingKey &k);
void set_key_int(Settings &s, const SettingKey &k, int value);
float key_float(const Settings &s, const SettingKey &k);
void set_key_float(Settings &s, const SettingKey &k, float value);
const QString &key_text(const Settings &s, const SettingKey &k);
void set_key_text(Settings &s, const SettingKey &k, const QString &value);

} // namespace lumbrix
