#include "shell/app_main.h"

#include "cli/command_line.h"
#include "platform/files.h"

#include <IL/il.h>

#include <QString>
#include <QStringList>

#include <cstdio>

namespace lumbrix {

int lumbrix_main(int argc, char **argv) {
  ilInit();
  ignore_file_size_signal();
  QStringList parameters;
  for (int i = 1; i < argc; ++i)
    parameters << QString::fromLocal8Bit(argv[i]);
  const int status = command_line_main(parameters);
  if (status >= 0)
    return status;
  std::fputs("The window front is not built yet; run with -h for the console options.\n", stderr);
  return 0;
}

} // namespace lumbrix
