#pragma once

#include <FreeImage.h>
#include <QString>

namespace lumbrix {

// Size of the PSD the writer produces for w x h: header, three empty sections, the compression
// word and four raw 8-bit planes.
qint64 psd_file_size(int width, int height);

// Writes image (a FIT_BITMAP of any depth) as an RGBA PSD at path through DevIL. True only when
// the whole file is on disk: DevIL reports success after a short write, so the size is checked.
// A failed write may leave a partial file at path for the caller to remove. DevIL is not
// thread-safe; one thread at a time.
bool write_psd(FIBITMAP *image, const QString &path);

} // namespace lumbrix
