#pragma once

#include <QByteArray>
#include <png.h>

namespace lumbrix {

// A place in a PNG's bytes held in memory, which libpng reads from.
struct MemoryCursor {
  const QByteArray *bytes;
  qint64 at;
};

// A libpng reader of the bytes from the cursor on, with its usual limits on what ancillary chunks
// may make it allocate. Broken files are expected: errors leave by longjmp to the caller's
// setjmp(png_jmpbuf(...)) without a message, warnings are dropped, and reading past the bytes is
// an error like any other. Null when libpng has no memory for it; the cursor must outlive it.
png_structp create_memory_reader(MemoryCursor &cursor);

} // namespace lumbrix
