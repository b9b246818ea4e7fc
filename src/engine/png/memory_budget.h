#pragma once

#include "platform/system_memory.h"

#include <QString>

namespace lumbrix {

// The pictures converting a width x height picture holds at once: two 32-bit pictures for 8-bit
// samples (the decoded one and what a stage makes of it), three for 16-bit ones (the 16-bit
// picture, twice the size, and its 8-bit result).
qint64 picture_memory(qint64 width, qint64 height, bool sixteen_bit);

// The most that converting such a picture takes: its pictures and room for the libraries.
qint64 conversion_budget(int width, int height, bool sixteen_bit);

// Empty when the budget of such a picture fits in the memory the process can still take;
// otherwise why not.
QString memory_refusal(int width, int height, bool sixteen_bit,
                       qint64 available = memory_headroom());

} // namespace lumbrix
