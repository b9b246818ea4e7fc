// Texts the user writes: lang_format's %s1%..%s4%, the naming tokens of a filename mask and a
// watermark text, and language files. Input parts are separated by NUL bytes.
#include "engine/settings/naming.h"
#include "engine/settings/settings.h"
#include "fuzz_support.h"
#include "platform/paths.h"
#include "text/lang.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size > 8192)
    return -1;
  QStringList parts = lumbrix::fuzz::split_text(data, size, '\0');
  while (parts.size() < 5)
    parts << QString();
  lumbrix::lang_format(parts[0], parts[1], parts[2], parts[3], parts[4]);

  const lumbrix::TokenValues values{
      parts[1], QStringLiteral("psd"),       24, static_cast<int>(size), 7, 12345,
      1,        QDateTime::currentDateTime()};
  lumbrix::Settings settings = lumbrix::default_settings(lumbrix::SettingsUse::Console);
  settings.filename_mask = parts[0];
  lumbrix::output_folder_of(parts[2], parts[3], settings);
  lumbrix::output_name_problem(lumbrix::build_file_name(settings.filename_mask, values));
  lumbrix::expand_watermark_text(parts[0], values);
  lumbrix::base_name(parts[4]);

  lumbrix::lang_load(lumbrix::fuzz::write_input(data, size, QStringLiteral("lang.ini")));
  lumbrix::lang(parts[1], parts[2]);
  return 0;
}
