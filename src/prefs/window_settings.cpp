#include "prefs/window_settings.h"

#include "engine/settings/settings_file.h"
#include "platform/files.h"

#include <QFileInfo>

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
  if (read_settings_file(path, settings()))
    return true;
  // A file that is there but cannot be read (or is refused as too large) is kept for its owner
  // to look at; the window starts from the defaults and writes a new one at exit.
  if (file_exists(path) || QFileInfo(path).isSymLink())
    set_aside_settings_file(path);
  return false;
}

bool save_window_settings(QString *reason) {
  return write_settings_file(settings_path(), settings(), reason);
}

} // namespace lumbrix
