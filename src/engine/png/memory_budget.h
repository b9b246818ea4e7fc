#pragma once

#include "platform/system_memory.h"

#include <QString>

namespace lumbrix {

// The most that converting a width x height picture from a PNG file of file_bytes takes: the
// pictures it holds at once, or while it decodes the file's bytes beside the decoded picture,
// whichever is more, and room for the libraries. The pictures are two 32-bit pictures for 8-bit
// samples (the decoded one and what a stage makes of it), three for 16-bit ones (the 16-bit
// picture, twice the size, and its 8-bit result).
qint64 conversion_budget(qint64 width, qint64 height, bool sixteen_bit, qint64 file_bytes);

// Empty when the budget of such a picture fits in the memory the process can still take;
// otherwise why not.
QString memory_refusal(int width, int height, bool sixteen_bit, qint64 file_bytes,
                       qint64 available = memory_headroom());

// Empty when a file of file_bytes can be held in the memory the process can still take;
// otherwise why not.
QString file_memory_refusal(qint64 file_bytes, qint64 available = memory_headroom());

} // namespace lumbrix
