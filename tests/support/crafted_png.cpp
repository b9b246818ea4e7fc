#include "support/crafted_png.h"

#include <png.h>
#include <zlib.h>

#include <vector>

namespace lumbrix::test {

QByteArray big_endian(quint32 value) {
  QByteArray bytes;
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes.append(static_cast<char>((value >> shift) & 0xFF));
  return bytes;
}

void append_chunk(QByteArray &png, const char *type, const QByteArray &data) {
  png += big_endian(static_cast<quint32>(data.size()));
  const QByteArray typed = QByteArray(type, 4) + data;
  png += typed;
  png += big_endian(static_cast<quint32>(crc32(
      0, reinterpret_cast<const Bytef *>(typed.constData()), static_cast<uInt>(typed.size()))));
}

QByteArray zero_png(quint32 width, quint32 height, int bit_depth, int color_type,
                    quint32 rows_stored) {
  QByteArray png("\x89PNG\r\n\x1a\n", 8);
  QByteArray header = big_endian(width) + big_endian(height);
  header += static_cast<char>(bit_depth);
  header += static_cast<char>(color_type);
  header += QByteArray(3, '\0'); // deflate, adaptive filtering, not interlaced
  append_chunk(png, "IHDR", header);

  const int channels = color_type == PNG_COLOR_TYPE_RGB          ? 3
                       : color_type == PNG_COLOR_TYPE_RGB_ALPHA  ? 4
                       : color_type == PNG_COLOR_TYPE_GRAY_ALPHA ? 2
                                                                 : 1;
  const std::size_t row_bytes = (std::size_t{width} * channels * bit_depth + 7) / 8;
  if (color_type == PNG_COLOR_TYPE_PALETTE)
    append_chunk(png, "PLTE", QByteArray(3, '\0'));
  z_stream z{};
  deflateInit(&z, Z_BEST_COMPRESSION);
  const std::vector<Bytef> row(row_bytes + 1, 0); // filter byte, then the samples
  std::vector<Bytef> out(1 << 20);
  QByteArray data;
  for (quint32 y = 0; y < rows_stored; ++y) {
    z.next_in = const_cast<Bytef *>(row.data());
    z.avail_in = static_cast<uInt>(row.size());
    const int flush = y + 1 == rows_stored ? Z_FINISH : Z_NO_FLUSH;
    do {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      deflate(&z, flush);
      data.append(reinterpret_cast<const char *>(out.data()),
                  static_cast<qsizetype>(out.size() - z.avail_out));
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  append_chunk(png, "IDAT", data);
  append_chunk(png, "IEND", QByteArray());
  return png;
}

} // namespace lumbrix::test
