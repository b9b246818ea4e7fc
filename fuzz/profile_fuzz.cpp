// Profile files: a section CLI of option lines applied to the settings.
#include "cli/format_catalogue.h"
#include "cli/profile.h"
#include "engine/settings.h"
#include "fuzz_support.h"
#include "platform/console.h"
#include "prefs/lang.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  lumbrix::lang_load();
  lumbrix::build_input_format_map();
  lumbrix::build_output_format_map();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size > 16384)
    return -1;
  QString output;
  lumbrix::console_capture(&output);
  lumbrix::set_defaults(true);
  lumbrix::load_profile(lumbrix::fuzz::write_input(data, size, QStringLiteral("profile.ini")));
  lumbrix::console_capture(nullptr);
  return 0;
}
