// Profile files: a section CLI of option lines applied to the settings.
#include "cli/profile.h"
#include "engine/settings/settings.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  lumbrix::fuzz::start_console_front();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size > 16384)
    return -1;
  const lumbrix::fuzz::CapturedConsole console;
  lumbrix::Settings settings = lumbrix::default_settings(lumbrix::SettingsUse::Console);
  lumbrix::load_profile(lumbrix::fuzz::write_input(data, size, QStringLiteral("profile.ini")),
                        settings);
  return 0;
}
