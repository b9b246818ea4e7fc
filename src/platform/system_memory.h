#pragma once

#include <QtGlobal>

namespace lumbrix {

// The memory the system can give without swapping, in bytes; 0 when it cannot tell.
qint64 available_memory();

// Bytes this process can still take before something stops it: the system's available memory,
// the address-space and data limits of the process, the limit of its control group. The largest
// qint64 when none of them can be read.
qint64 memory_headroom();

} // namespace lumbrix
