#include "cli/profile.h"

#include "cli/setting_options.h"
#include "engine/settings/settings_file.h"
#include "platform/ini_reader.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace lumbrix {
namespace {

const QString preset_suffix = QStringLiteral(".ini");

} // namespace

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
  read_preset_keys(file, settings);
  const QString cli = QStringLiteral("CLI");
  for (const QString &key : file.keys(cli)) {
    // Values here are taken as written: trimmed, quotes kept, nothing joined.
    const SettingOption *option = find_setting_option(key.trimmed().toUpper());
    if (option)
      option->apply(settings, read_option_value(*option, file.value(cli, key).trimmed()));
  }
  return true;
}

QString profile_path(const QString &value) {
  if (value.contains(QLatin1Char('/')) || QFileInfo::exists(value) || !valid_preset_name(value))
    return value;
  return preset_path(value);
}

bool valid_preset_name(const QString &name) {
  if (name.trimmed().isEmpty() || name.startsWith(QLatin1Char('.')))
    return false;
  return std::none_of(name.begin(), name.end(), [](QChar c) {
    return c == u'/' || c == u'\\' || c.category() == QChar::Other_Control;
  });
}

QString preset_path(const QString &name) {
  const QString folder = presets_folder();
  return valid_preset_name(name) && !folder.isEmpty() ? folder + name + preset_suffix : QString();
}

QStringList preset_names() {
  const QString folder = presets_folder();
  if (folder.isEmpty())
    return {};
  QStringList names;
  const QFileInfoList files =
      QDir(folder).entryInfoList({QLatin1Char('*') + preset_suffix}, QDir::Files | QDir::Readable);
  for (const QFileInfo &file : files) {
    const QString name = file.completeBaseName();
    if (valid_preset_name(name))
      names << name;
  }
  names.sort(Qt::CaseInsensitive);
  return names;
}

} // namespace lumbrix
