#pragma once

#include "platform/system_memory.h"

#include <QString>

namespace lumbrix {

// The most that converting a width x height picture from a PNG file of file_bytes takes: the
// pictures it holds at once, or while it decodes the file's bytes beside the decoded picture,
// whichever is more, and room for the libraries. A picture takes 4 bytes a pixel with 8-bit
// samples, 8 with 16-bit ones; sixteen_bit is the file's samples, sixteen_bit_output those the
// stages work on (a 64-bit PSD). The pictures held at once are the decoded one and what the
// first stage makes of it (the 16-bit picture and its 8-bit result; an 8-bit picture and its
// widened copy), or any stage's input and output.
qint64 conversion_budget(qint64 width, qint64 height, bool sixteen_bit, bool sixteen_bit_output,
                         qint64 file_bytes);

// Empty when the budget of such a picture fits in the memory the process can still take;
// otherwise why not.
QString memory_refusal(int width, int height, bool sixteen_bit, bool sixteen_bit_output,
                       qint64 file_bytes, qint64 available = memory_headroom());

// Empty when a file of file_bytes can be held in the memory the process can still take;
// otherwise why not.
QString file_memory_refusal(qint64 file_bytes, qint64 available = memory_headroom());

} // namespace lumbrix
