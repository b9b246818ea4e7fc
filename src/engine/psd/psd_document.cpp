#include "engine/psd/psd_document.h"

#include "engine/image/deep_picture.h"
#include "engine/image/image_limits.h"
#include "engine/psd/pack_ahead.h"
#include "engine/psd/psd_file.h"
#include "engine/psd/psd_format.h"
#include "engine/psd/psd_planes.h"
#include "engine/psd/raw_ahead.h"
#include "engine/psd/srgb_profile.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace lumbrix {
namespace {

// Below this many pixels the planes are packed one at a time: the picture stays in the cache.
constexpr std::int64_t band_packing_pixels = 1 << 18;

// 24 and 32-bit pixels, and 16-bit samples with alpha, are read as they are; palettes,
// transparency tables and 16-bit layouts are FreeImage's to expand.
Image writable(Image picture) {
  if (is_deep_rgba(picture))
    return picture;
  if (!picture || FreeImage_GetImageType(picture.get()) != FIT_BITMAP)
    return Image();
  const unsigned bpp = FreeImage_GetBPP(picture.get());
  if (bpp == 24 || bpp == 32)
    return picture;
  return Image(FreeImage_ConvertTo32Bits(picture.get()));
}

// Lays the file out as the planes are written: every small block is written as its place becomes
// known, the row-length tables and section lengths that come before rows once the rows are
// written.
class Layout {
public:
  Layout(PsdFile &file, PsdPlanes &planes, int height)
      : file_(file), planes_(planes), height_(height) {}

  void put(const PsdBytes &bytes) { put_at(bytes, end); }
  void put_at(const PsdBytes &bytes, std::int64_t at) {
    file_.write(bytes.data(), bytes.size(), at);
    end = std::max(end, at + static_cast<std::int64_t>(bytes.size()));
  }

  // The compression and tables of the given planes, then their rows one after another; returns
  // the bytes it took.
  std::int64_t put_channel(std::size_t first_plane, std::size_t count) {
    const bool rle = planes_.packed(first_plane);
    const std::int64_t begin = end;
    end += psd_compression_bytes + (rle ? static_cast<std::int64_t>(count) * height_ * 2 : 0);
    end = planes_.write(file_, first_plane, count, end);
    std::vector<const std::vector<std::int64_t> *> offsets;
    for (std::size_t plane = first_plane; plane < first_plane + count; ++plane)
      offsets.push_back(&planes_.row_offsets(plane));
    if (file_.ok())
      put_at(psd_channel_start(rle, offsets), begin);
    return end - begin;
  }

  std::int64_t end = 0;

private:
  PsdFile &file_;
  PsdPlanes &planes_;
  std::int64_t height_;
};

void put_layer(Layout &layout, const PsdDocument &document, int width, int height) {
  PsdLayerStart start = psd_layer_start(width, height, document.layer_name);
  const std::int64_t start_at = layout.end;
  layout.end += static_cast<std::int64_t>(start.bytes.size());
  std::int64_t lengths[psd_layer_channels] = {};
  std::int64_t channel_data = 0;
  for (std::size_t i = 0; i < psd_layer_channels; ++i) {
    lengths[i] = layout.put_channel(i, 1);
    channel_data += lengths[i];
  }
  start.set_lengths(lengths);
  layout.put_at(start.bytes, start_at);
  layout.put(start.tail(channel_data));
}

// Some readers take 16-bit samples without a profile for linear light; the PNG's are sRGB unless
// it says otherwise.
const QByteArray &colour_profile(const PsdDocument &document, bool deep) {
  return deep && document.icc_profile.isEmpty() ? srgb_profile() : document.icc_profile;
}

// The bands packed while the picture loaded, or, for a large layered packed document, a store
// the writer packs every plane of a band into at once: the picture's rows are read once rather
// than once a plane. Its bands take at most what a second copy of the picture would.
std::shared_ptr<PsdPackAhead> bands_ahead(const PsdDocument &document, FIBITMAP *picture,
                                          PsdCompression compression) {
  const std::shared_ptr<PsdPackAhead> &given = document.packed_ahead;
  if (given && given->serves(picture, document.layout, compression))
    return given;
  const std::int64_t pixels =
      std::int64_t{FreeImage_GetWidth(picture)} * FreeImage_GetHeight(picture);
  if (document.layout != PsdLayout::layered || compression != PsdCompression::rle ||
      pixels < band_packing_pixels)
    return nullptr;
  return std::make_shared<PsdPackAhead>(picture, document.layout, compression,
                                        pixels * FreeImage_GetBPP(picture) / 8);
}

PsdWriteResult write_document(const PsdDocument &document, FIBITMAP *picture, int descriptor,
                              const PsdWriteProgress &progress) {
  const int width = static_cast<int>(FreeImage_GetWidth(picture));
  const int height = static_cast<int>(FreeImage_GetHeight(picture));
  if (width < 1 || height < 1 || width > max_image_side || height > max_image_side)
    return {PsdWriteStatus::refused};
  const bool layered = document.layout == PsdLayout::layered;
  const PsdCompression compression = layered ? document.compression : PsdCompression::raw;
  PsdFile file(descriptor, progress);
  const std::shared_ptr<PsdPackAhead> ahead = bands_ahead(document, picture, compression);
  PsdPlanes planes(picture, compression, plane_kinds(document.layout), ahead.get());
  if (document.raw_ahead && document.raw_ahead->serves(picture, document.layout, descriptor))
    planes.set_raw_bands_written(document.raw_ahead->bands_written());
  planes.prepare();
  Layout layout(file, planes, height);
  const bool deep = FreeImage_GetImageType(picture) == FIT_RGBA16;
  const int depth = deep ? 16 : 8;
  if (layered) {
    layout.put(psd_header(width, height, depth));
    layout.put(psd_resources(document.horizontal_dpi, document.vertical_dpi,
                             colour_profile(document, deep)));
    file.set_total(layout.end + planes.expected_size());
    put_layer(layout, document, width, height);
  } else {
    layout.put(psd_merged_only_start(width, height, depth));
    file.set_total(layout.end + planes.expected_size());
  }
  layout.put_channel(layered ? psd_layer_channels : 0, 4);
  file.set_total(layout.end);
  file.report();
  file.finish(layout.end);
  return file.result();
}

} // namespace

PsdWriteResult write_psd_document(PsdDocument document, int descriptor,
                                  const PsdWriteProgress &progress) {
  const Image picture = writable(std::move(document.picture));
  if (!picture)
    return {PsdWriteStatus::refused};
  try {
    return write_document(document, picture.get(), descriptor, progress);
  } catch (const std::bad_alloc &) {
    return {PsdWriteStatus::failed, ENOMEM};
  }
}

} // namespace lumbrix
