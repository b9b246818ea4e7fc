#pragma once

#include <QtGlobal>

namespace lumbrix {

// Bytes this process can still take before something stops it: the system's available memory,
// the address-space and data limits of the process, the limit of its control group. The largest
// qint64 when none of them can be read.
qint64 available_memory();

} // namespace lumbrix
