#include "support/psd_reader.h"

#include <QFile>

namespace lumbrix::test {
namespace {

// Big-endian fields, bounds-checked.
class Cursor {
public:
  explicit Cursor(const QByteArray &data) : data_(data) {}

  bool ok() const { return ok_; }
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

  void skip_section() {
    const std::uint32_t length = read(4);
    if (!ok_ || left() < static_cast<qint64>(length))
      ok_ = false;
    else
      at_ += static_cast<qsizetype>(length);
  }

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
  in.skip_section(); // layers and masks
  image.compression = static_cast<int>(in.read(2));
  return in.ok();
}

} // namespace

bool read_psd(const QString &path, PsdImage &image) {
  image = PsdImage{};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return false;
  const QByteArray data = file.readAll();
  Cursor in(data);
  if (!read_header(in, image))
    return false;
  if (image.compression != 0 || image.depth != 8)
    return true; // header only
  const qsizetype plane = static_cast<qsizetype>(image.width) * image.height;
  for (int c = 0; c < image.channels; ++c) {
    const std::uint8_t *start = in.take(plane);
    if (!start)
      return false;
    image.planes.emplace_back(start, start + plane);
  }
  return in.left() == 0;
}

} // namespace lumbrix::test
