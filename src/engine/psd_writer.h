#pragma once

#include "engine/devil_output.h"
#include "engine/image.h"

#include <QString>

namespace lumbrix {

// Size of the PSD the writer produces for w x h: header, three empty sections, the compression
// word and four raw 8-bit planes.
qint64 psd_file_size(int width, int height);

// Called after each step of a write with the step's name, for timing.
using WriteStepObserver = void (*)(const char *step);

struct PsdWriteHooks {
  WriteStepObserver step_done = nullptr;
  // Told the bytes on disk as the file grows; false abandons the write.
  WriteMonitor monitor;
};

// Writes image (a FIT_BITMAP of any depth) as an RGBA PSD through descriptor, which the caller
// opened and keeps. The bitmap is released as soon as DevIL holds its pixels. True only when the
// whole file is written: a failed write is caught as it happens and the size the descriptor sees
// is checked as well; error then holds the error number (ECANCELED when the monitor stopped it,
// EINVAL for a picture no PSD can hold). DevIL is not thread-safe; one thread at a time.
bool write_psd(Image image, int descriptor, const PsdWriteHooks &hooks = {}, int *error = nullptr);

} // namespace lumbrix
