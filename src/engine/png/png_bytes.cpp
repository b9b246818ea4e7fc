#include "engine/png/png_bytes.h"

#include "engine/png/memory_budget.h"
#include "platform/files.h"

#include <png.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

namespace lumbrix {
namespace {

constexpr qint64 block = 1 << 20;

// Reads the file into bytes in blocks as the chunk walk asks for them, never past the size the
// file had when it was first measured.
class BlockReader {
public:
  BlockReader(std::FILE *file, qint64 size, QByteArray &bytes)
      : file_(file), size_(size), bytes_(bytes) {}

  // True when the first n bytes are held.
  bool hold(qint64 n) {
    if (n > size_)
      return false;
    while (bytes_.size() < n) {
      const qsizetype had = bytes_.size();
      const qint64 more = std::min(block, size_ - had);
      bytes_.resize(had + more);
      if (!read_at(file_, had, bytes_.data() + had, static_cast<std::size_t>(more))) {
        bytes_.resize(had);
        return false;
      }
    }
    return true;
  }

  const unsigned char *at(qint64 offset) const {
    return reinterpret_cast<const unsigned char *>(bytes_.constData()) + offset;
  }

private:
  std::FILE *file_;
  qint64 size_;
  QByteArray &bytes_;
};

QString chunk_name(const unsigned char *type) {
  QString name;
  for (int i = 0; i < 4; ++i)
    name += std::isalpha(type[i]) ? QLatin1Char(static_cast<char>(type[i])) : QLatin1Char('?');
  return name;
}

// libpng allocates whatever length a chunk declares, before the image data and after it, two
// gigabytes for a few bytes of damaged file; so every chunk up to IEND must lie within the file.
// Adds up the image data on the way.
QString walk_chunks(BlockReader &reader, PngBytes &png) {
  qint64 at = 8;
  while (reader.hold(at + 8)) {
    const unsigned char *head = reader.at(at);
    const std::uint32_t length = png_get_uint_32(head);
    if (length > 0x7FFFFFFFu || !reader.hold(at + 12 + qint64{length}))
      return damaged_png() + QStringLiteral(": its %1 chunk at byte %2 claims %3 bytes, more "
                                            "than the file holds")
                                 .arg(chunk_name(reader.at(at + 4)))
                                 .arg(at)
                                 .arg(length);
    head = reader.at(at);
    if (std::memcmp(head + 4, "IDAT", 4) == 0)
      png.image_data_size += length;
    at += 12 + qint64{length};
    if (std::memcmp(head + 4, "IEND", 4) == 0)
      break;
  }
  png.bytes.truncate(at);
  return QString();
}

} // namespace

QString damaged_png() { return QStringLiteral("damaged PNG file"); }

QString read_png_bytes(std::FILE *file, PngBytes &png) {
  static const unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  png = PngBytes{};
  const qint64 size = open_file_size(file);
  if (size < 0)
    return QStringLiteral("cannot be read: ") + error_text(errno);
  if (size == 0)
    return QStringLiteral("empty file");
  BlockReader reader(file, size, png.bytes);
  if (!reader.hold(8) || std::memcmp(reader.at(0), signature, 8) != 0)
    return QStringLiteral("not a PNG file");
  const QString too_large = file_memory_refusal(size);
  if (!too_large.isEmpty())
    return too_large;
  png.bytes.reserve(static_cast<qsizetype>(size));
  return walk_chunks(reader, png);
}

} // namespace lumbrix
