#pragma once

#include <QtGlobal>

namespace lumbrix {

// The memory the system can give without swapping, in bytes; 0 when it cannot tell.
qint64 available_memory();

} // namespace lumbrix
