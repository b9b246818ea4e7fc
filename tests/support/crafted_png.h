#pragma once

#include <QByteArray>

namespace lumbrix::test {

// PNG files put together chunk by chunk, for damaged and hostile inputs.

QByteArray big_endian(quint32 value);

// Length, type, data and CRC.
void append_chunk(QByteArray &png, const char *type, const QByteArray &data);

// A PNG whose samples are all zero, its image data compressed as far as zlib goes (about a
// thousandth of the picture), ending with IEND. Only the first rows_stored rows are in the data.
QByteArray zero_png(quint32 width, quint32 height, int bit_depth, int color_type,
                    quint32 rows_stored);

} // namespace lumbrix::test
