// Texts the user writes: lang_format's %s1%..%s4%, the naming tokens of a filename mask and a
// watermark text, and language files. Input parts are separated by NUL bytes.
#include "engine/naming.h"
#include "engine/run_state.h"
#include "engine/settings.h"
#include "fuzz_support.h"
#include "text/lang.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size > 8192)
    return -1;
  QStringList parts = lumbrix::fuzz::split_text(data, size, '\0');
  while (parts.size() < 5)
    parts << QString();
  lumbrix::lang_format(parts[0], parts[1], parts[2], parts[3], parts[4]);

  lumbrix::RunState &state = lumbrix::run_state();
  state.input_path = parts[1];
  state.output_folder = parts[2];
  state.relative_subfolder = parts[3];
  lumbrix::settings().filename_mask = parts[0];
  lumbrix::build_output_path();
  lumbrix::expand_watermark_text(parts[0], static_cast<int>(size), 7, 24);
  lumbrix::base_name(parts[4]);

  lumbrix::lang_load(lumbrix::fuzz::write_input(data, size, QStringLiteral("lang.ini")));
  lumbrix::lang(parts[1], parts[2]);
  return 0;
}
