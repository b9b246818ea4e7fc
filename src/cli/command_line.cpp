#include "cli/command_line.h"

namespace lumbrix {

int command_line_main(const QStringList &) { return -1; }

} // namespace lumbrix
