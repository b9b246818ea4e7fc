#pragma once

#include "engine/image/image.h"

#include <QByteArray>

namespace lumbrix {

class LoadObserver;

// Decodes the PNG held in bytes one row at a time, straight into the bitmap FreeImage's own PNG
// loader gives for the same bytes with PNG_IGNOREGAMMA: the same image type, depth, colour masks,
// palette, transparency, background colour, resolution and samples, and the same files refused.
// Like FreeImage's, the bitmap carries neither the file's colour profile nor its text chunks:
// read_png_header gives those. Every colour type and depth, interlaced or not.
// The observer, when given, is told of the bitmap before its first row and of the rows as they
// become final; when it asks to stop, the result is empty and *abandoned true. Empty with
// *abandoned false for damaged image data.
Image decode_png_rows(const QByteArray &bytes, LoadObserver *observer, bool *abandoned);

} // namespace lumbrix
