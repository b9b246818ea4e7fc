// config.ini as the program reads it, and the reader under it on its own; a file read back
// must write out again.
#include "engine/settings/settings.h"
#include "engine/settings/settings_file.h"
#include "fuzz_support.h"
#include "platform/ini_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size > 65536)
    return -1;
  const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  lumbrix::IniFile ini;
  ini.parse(bytes);
  for (const QString &key : ini.keys(QStringLiteral("General")))
    ini.value(QStringLiteral("general"), key);

  const QString path = lumbrix::fuzz::write_input(data, size, QStringLiteral("config.ini"));
  lumbrix::Settings settings = lumbrix::default_settings(lumbrix::SettingsUse::Window);
  lumbrix::read_settings_file(path, settings);
  lumbrix::write_settings_file(path, settings);
  lumbrix::leading_int(QString::fromUtf8(bytes.left(64)));
  lumbrix::leading_number(QString::fromUtf8(bytes.left(64)));
  return 0;
}
