// The console front's option parser: one parameter per input line, with quoting, joining and
// profiles. Runs from the scratch folder, since a parsed command line may convert or create
// folders.
#include "cli/command_line.h"
#include "cli/format_catalogue.h"
#include "engine/run_state.h"
#include "fuzz_support.h"
#include "platform/console.h"
#include "prefs/lang.h"

#include <IL/il.h>
#include <QDir>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  ilInit();
  lumbrix::lang_load();
  lumbrix::build_input_format_map();
  lumbrix::build_output_format_map();
  QDir::setCurrent(lumbrix::fuzz::scratch_dir());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size > 4096)
    return -1;
  QString output;
  lumbrix::console_capture(&output);
  lumbrix::run_state().mode_text.clear();
  lumbrix::command_line_main(lumbrix::fuzz::split_text(data, size, '\n'));
  lumbrix::console_capture(nullptr);
  return 0;
}
