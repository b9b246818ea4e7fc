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

// Writes image (a FIT_BITMAP of any depth) as an RGBA PSD at path through DevIL. The bitmap is
// released as soon as DevIL holds its pixels. True only when the whole file is on disk: a failed
// write is caught as it happens and the size is checked as well; error then holds the error
// number (ECANCELED when the monitor stopped it, EINVAL for a picture no PSD can hold). A failed
// write may leave a partial file at path for the caller to remove. DevIL is not thread-safe;
// one thread at a time.
bool write_psd(Image image, const QString &path, const PsdWriteHooks &hooks = {},
               int *error = nullptr);

} // namespace lumbrix
