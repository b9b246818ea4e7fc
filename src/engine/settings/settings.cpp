#include "engine/settings/settings.h"

#include "build_constants.h"
#include "engine/settings/product.h"
#include "engine/settings/settings_keys.h"

#include <ctime>

namespace lumbrix {
namespace {

int centred(int size, int desktop) { return size < desktop ? (desktop - size) / 2 : 100; }

int parse_int(const char *text) { return QByteArray(text).toInt(); }

void apply_default(Settings &s, const SettingKey &k, SettingsUse use, QSize desktop) {
  switch (k.default_kind) {
  case DefaultKind::Value:
    if (k.type == KeyType::Text)
      set_key_text(s, k, QString::fromUtf8(k.default_value));
    else if (k.type == KeyType::Float)
      set_key_float(s, k, QByteArray(k.default_value).toFloat());
    else
      set_key_int(s, k, parse_int(k.default_value));
    break;
  case DefaultKind::Now:
    set_key_int(s, k, local_now_seconds());
    break;
  case DefaultKind::CentreX:
    set_key_int(s, k, centred(s.window_width, desktop.width()));
    break;
  case DefaultKind::CentreY:
    set_key_int(s, k, centred(s.window_height, desktop.height()));
    break;
  case DefaultKind::FirstInput:
    set_key_text(s, k, input_formats().value(0));
    break;
  case DefaultKind::FirstOutput:
    set_key_text(s, k, output_formats().value(0));
    break;
  case DefaultKind::AspectRatio:
    set_key_int(s, k, use == SettingsUse::Console ? 0 : 1);
    break;
  case DefaultKind::WatermarkText:
    set_key_text(s, k, QString::fromUtf8(build::watermark_text));
    break;
  }
}

} // namespace

// Straight from the C library: every run takes this default, and QDateTime's time-zone set-up
// costs more than the rest of the defaults together.
int local_now_seconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (!::localtime_r(&now, &local))
    return static_cast<int>(now);
  return static_cast<int>(now + local.tm_gmtoff);
}

Settings default_settings(SettingsUse use, QSize desktop) {
  Settings s;
  // Width and Height precede X and Y in the table, so the centring sees the default size.
  for (const SettingKey &k : setting_keys())
    apply_default(s, k, use, desktop);
  s.cfg = 17;
  return s;
}

} // namespace lumbrix
