#pragma once

namespace lumbrix {

// The console conversion of the one input file named by -i: checks, the debug echo, the
// worker run and the result lines. Returns the process exit status: 0 when the file was
// converted, 1 when a check failed or the conversion stopped.
int console_run(bool quiet);

} // namespace lumbrix
