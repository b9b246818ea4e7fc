#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace lumbrix {

// What a PNG file holds from its signature to the end of IEND, read once through its open
// descriptor. The checks and the decoders all read these bytes and no others, so a file
// rewritten meanwhile cannot show them different things, and no chunk can claim more than is
// held here.
struct PngBytes {
  QByteArray bytes;
  qint64 image_data_size = 0; // bytes of all IDAT chunks
};

// Reads the file's chunks in order up to IEND, each checked to lie within the file before a
// byte of it is read, after checking that the whole file fits in memory. A file that ends
// before IEND is kept up to its last whole chunk: the decoders find it cut short. Empty when all
// is well; otherwise why not, in words that follow the file's name.
QString read_png_bytes(std::FILE *file, PngBytes &png);

// Where every reason for refusing a broken file starts.
QString damaged_png();

} // namespace lumbrix
