#include "prefs/window_settings.h"

#include "engine/settings_file.h"

namespace lumbrix {
namespace {

QString &settings_path() {
  static QString path;
  return path;
}

} // namespace

Settings &settings() {
  static Settings record;
  return record;
}

QString window_settings_path() { return settings_path(); }

bool load_window_settings(const QString &path, QSize desktop) {
  settings_path() = path;
  settings() = default_settings(SettingsUse::Window, desktop);
  return read_settings_file(path, settings());
}

bool save_window_settings() { return write_settings_file(settings_path(), settings()); }

} // namespace lumbrix
