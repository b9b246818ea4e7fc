#pragma once

#include "platform/memory.h"

#include <QString>

namespace lumbrix {

// The most that converting a width x height picture takes at once: two 32-bit pictures for
// 8-bit samples (the decoded one and what a stage makes of it), three for 16-bit ones (the
// 16-bit picture, twice the size, and its 8-bit result), and room for the libraries.
qint64 conversion_budget(int width, int height, bool sixteen_bit);

// Empty when the budget of such a picture fits in the memory available; otherwise why not.
QString memory_refusal(int width, int height, bool sixteen_bit,
                       qint64 available = available_memory());

} // namespace lumbrix
