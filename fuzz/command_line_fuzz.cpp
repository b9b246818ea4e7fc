// The console front's option parser: one parameter per input line, with quoting, joining and
// profiles. Runs from the scratch folder, since a parsed command line may convert or create
// folders.
#include "cli/command_line.h"
#include "fuzz_support.h"

#include <QDir>

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  lumbrix::fuzz::start_console_front();
  QDir::setCurrent(lumbrix::fuzz::scratch_dir());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size > 4096)
    return -1;
  const lumbrix::fuzz::CapturedConsole console;
  lumbrix::command_line_main(lumbrix::fuzz::split_text(data, size, '\n'));
  return 0;
}
