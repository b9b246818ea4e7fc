#include "cli/profile.h"

#include "cli/setting_options.h"
#include "platform/ini_reader.h"

namespace lumbrix {

bool load_profile(const QString &path, Settings &settings, QString *reason) {
  if (path.isEmpty())
    return false;
  // The reader takes regular files only: a FIFO or a device would block or never end.
  IniFile file;
  if (!file.load(path)) {
    if (reason)
      *reason = file.error();
    return false;
  }
  const QString cli = QStringLiteral("CLI");
  for (const QString &key : file.keys(cli)) {
    // Values here are taken as written: trimmed, quotes kept, nothing joined.
    const SettingOption *option = find_setting_option(key.trimmed().toUpper());
    if (option)
      option->apply(settings, read_option_value(*option, file.value(cli, key).trimmed()));
  }
  return true;
}

} // namespace lumbrix
