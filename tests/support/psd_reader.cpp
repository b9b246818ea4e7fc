#include "support/psd_reader.h"

#include <QFile>

#include <map>

namespace lumbrix::test {
namespace {

using Plane = std::vector<std::uint8_t>;

// Big-endian fields, bounds-checked.
class Cursor {
public:
  explicit Cursor(const QByteArray &data) : data_(data) {}

  bool ok() const { return ok_; }
  qsizetype at() const { return at_; }
  qsizetype left() const { return data_.size() - at_; }

  std::uint32_t read(int bytes) {
    if (left() < bytes) {
      ok_ = false;
      return 0;
    }
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
      value = (value << 8) | static_cast<std::uint8_t>(data_[at_++]);
    return value;
  }

  void skip(qint64 bytes) {
    if (bytes < 0 || left() < bytes)
      ok_ = false;
    else
      at_ += static_cast<qsizetype>(bytes);
  }

  void skip_section() { skip(read(4)); }

  const std::uint8_t *take(qsizetype bytes) {
    if (left() < bytes) {
      ok_ = false;
      return nullptr;
    }
    const auto *start = reinterpret_cast<const std::uint8_t *>(data_.constData() + at_);
    at_ += bytes;
    return start;
  }

private:
  const QByteArray &data_;
  qsizetype at_ = 0;
  bool ok_ = true;
};

// count planes of width x height, each row packed on its own when compression is 1, the row
// lengths of every plane first.
bool read_planes(Cursor &in, int compression, int width, int height, int count,
                 std::vector<Plane> &planes) {
  const qsizetype rows = static_cast<qsizetype>(height) * count;
  std::vector<std::uint32_t> lengths(static_cast<std::size_t>(rows),
                                     static_cast<std::uint32_t>(width));
  if (compression == 1)
    for (auto &length : lengths)
      length = in.read(2);
  else if (compression != 0)
    return false;
  for (int p = 0; p < count; ++p) {
    Plane plane;
    for (int y = 0; y < height; ++y) {
      const std::uint32_t length = lengths[static_cast<std::size_t>(p * height + y)];
      const std::uint8_t *row = in.take(length);
      if (!row)
        return false;
      const std::size_t before = plane.size();
      if (compression == 1 ? !unpack_bits(row, length, plane)
                           : (plane.insert(plane.end(), row, row + length), false))
        return false;
      if (plane.size() - before != static_cast<std::size_t>(width))
        return false;
    }
    planes.push_back(std::move(plane));
  }
  return in.ok();
}

// The first layer's channels by id; the rest of the section is skipped.
bool read_layers(Cursor &in, PsdImage &image) {
  const std::uint32_t section = in.read(4);
  const qsizetype end = in.at() + section;
  if (section == 0)
    return in.ok();
  in.read(4); // layer info length
  image.layer_count = static_cast<std::int16_t>(in.read(2));
  const int top = static_cast<int>(in.read(4)), left = static_cast<int>(in.read(4));
  const int bottom = static_cast<int>(in.read(4)), right = static_cast<int>(in.read(4));
  if (image.layer_count == 0 || top != 0 || left != 0 || bottom != image.height ||
      right != image.width)
    return false;
  const int channels = static_cast<int>(in.read(2));
  std::vector<std::pair<int, std::uint32_t>> listed; // id and length of each channel
  for (int c = 0; c < channels; ++c) {
    const int id = static_cast<std::int16_t>(in.read(2));
    listed.emplace_back(id, in.read(4));
  }
  in.skip(10); // signature, blend mode, opacity, clipping
  const std::uint32_t flags = in.read(1);
  in.skip(1);           // filler
  in.skip_section();    // mask, blending ranges, name and tagged blocks
  if ((flags & 2) != 0) // hidden: an editor would open the document with nothing shown
    return false;
  // Further layers' records would come here; the files checked hold one.
  std::map<int, Plane> by_id;
  for (const auto &[id, length] : listed) {
    const qsizetype start = in.at();
    std::vector<Plane> plane;
    if (!read_planes(in, static_cast<int>(in.read(2)), image.width, image.height, 1, plane) ||
        in.at() - start != qsizetype{length})
      return false;
    by_id[id] = std::move(plane.front());
  }
  for (const int id : {0, 1, 2, -1}) {
    if (!by_id.contains(id))
      return false;
    image.planes.push_back(by_id[id]);
  }
  in.skip(end - in.at());
  return in.ok();
}

bool read_header(Cursor &in, PsdImage &image) {
  if (in.read(4) != 0x38425053) // "8BPS"
    return false;
  image.version = static_cast<int>(in.read(2));
  if (in.read(4) != 0 || in.read(2) != 0) // reserved
    return false;
  image.channels = static_cast<int>(in.read(2));
  image.height = static_cast<int>(in.read(4));
  image.width = static_cast<int>(in.read(4));
  image.depth = static_cast<int>(in.read(2));
  image.color_mode = static_cast<int>(in.read(2));
  in.skip_section(); // colour mode data
  in.skip_section(); // image resources
  return in.ok();
}

} // namespace

bool unpack_bits(const std::uint8_t *packed, std::size_t size, std::vector<std::uint8_t> &out) {
  for (std::size_t i = 0; i < size;) {
    const unsigned header = packed[i++];
    if (header == 128)
      return false;
    const bool literal = header < 128;
    const std::size_t count = literal ? header + 1 : 257 - header;
    if (i + (literal ? count : 1) > size)
      return false;
    if (literal)
      out.insert(out.end(), packed + i, packed + i + count);
    else
      out.insert(out.end(), count, packed[i]);
    i += literal ? count : 1;
  }
  return true;
}

qint64 psd_declared_size(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return -1;
  const QByteArray head = file.read(26);
  PsdImage image;
  Cursor in(head);
  if (in.read(4) != 0x38425053 || head.size() != 26)
    return -1;
  in.skip(8);
  image.channels = static_cast<int>(in.read(2));
  image.height = static_cast<int>(in.read(4));
  image.width = static_cast<int>(in.read(4));
  qint64 at = 26;
  for (int section = 0; section < 3; ++section) { // colour mode data, resources, layers
    const QByteArray length = file.read(4);
    Cursor field(length);
    at += 4 + field.read(4);
    if (!field.ok() || !file.seek(at))
      return -1;
  }
  const QByteArray compression = file.read(2);
  at += 2;
  if (compression != QByteArray("\0\1", 2))
    return at + qint64{image.channels} * image.height * image.width;
  const QByteArray table = file.read(qint64{2} * image.channels * image.height);
  Cursor rows(table);
  at += table.size();
  while (rows.left() > 0)
    at += rows.read(2);
  return table.size() == qint64{2} * image.channels * image.height ? at : -1;
}

bool read_psd(const QString &path, PsdImage &image) {
  image = PsdImage{};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  const QByteArray data = file.readAll();
  Cursor in(data);
  if (!read_header(in, image))
    return false;
  if (image.depth != 8) {
    in.skip_section();
    image.compression = static_cast<int>(in.read(2));
    return in.ok(); // header only
  }
  if (!read_layers(in, image))
    return false;
  image.compression = static_cast<int>(in.read(2));
  if (!read_planes(in, image.compression, image.width, image.height, image.channels, image.merged))
    return false;
  if (image.planes.empty())
    image.planes = image.merged;
  return in.left() == 0;
}

} // namespace lumbrix::test
