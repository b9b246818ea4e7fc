#include "engine/psd/plane_rows.h"

#include "engine/psd/channel_rows.h"
#include "engine/psd/packbits.h"
#include "engine/psd/psd_format.h"

#include <algorithm>
#include <cstring>

namespace lumbrix {
namespace {

// About this much of each plane per band: large enough that a write is cheap, small enough that
// a band of every plane stays in the cache.
constexpr std::size_t band_bytes = 1 << 17;

} // namespace

std::vector<PlaneKind> plane_kinds(PsdLayout layout) {
  std::vector<PlaneKind> planes;
  const bool layered = layout == PsdLayout::layered;
  for (int i = 0; layered && i < psd_layer_channels; ++i)
    planes.push_back({psd_layer_channel_order[i], PlaneColours::straight, i});
  for (int channel = 0; channel < 4; ++channel)
    planes.push_back(
        {channel,
         layered && channel != alpha_channel ? PlaneColours::on_white : PlaneColours::straight,
         psd_layer_channels});
  return planes;
}

PlaneRows::PlaneRows(FIBITMAP *picture, std::vector<PlaneKind> planes)
    : picture_(picture), width_(static_cast<int>(FreeImage_GetWidth(picture))),
      height_(static_cast<int>(FreeImage_GetHeight(picture))),
      bytes_per_pixel_(static_cast<int>(FreeImage_GetBPP(picture)) / 8),
      deep_(FreeImage_GetImageType(picture) == FIT_RGBA16),
      row_bytes_(static_cast<std::size_t>(width_) * (deep_ ? 2 : 1)), planes_(std::move(planes)),
      rows_per_band_(static_cast<int>(std::clamp<std::size_t>(
          band_bytes / pack_bits_bound(row_bytes_), 1, static_cast<std::size_t>(height_)))) {}

int PlaneRows::band_rows(int band) const {
  return std::min(rows_per_band_, height_ - band_top(band));
}

const std::uint8_t *PlaneRows::scanline(int y) const {
  return FreeImage_GetScanLine(picture_, height_ - 1 - y);
}

void PlaneRows::split(Scratch &scratch, int y) const {
  std::uint8_t *const rows[4] = {scratch.channel(0), scratch.channel(1), scratch.channel(2),
                                 scratch.channel(alpha_channel)};
  if (deep_)
    split_deep_channels(reinterpret_cast<const std::uint16_t *>(scanline(y)), width_, rows);
  else
    split_channels(scanline(y), bytes_per_pixel_, width_, rows);
}

const std::uint8_t *PlaneRows::plane_row(Scratch &scratch, std::size_t plane) const {
  const PlaneKind kind = planes_[plane];
  if (kind.colours == PlaneColours::straight || kind.channel == alpha_channel)
    return scratch.channel(kind.channel);
  (deep_ ? deep_colour_on_white : colour_on_white)(
      scratch.channel(kind.channel), scratch.channel(alpha_channel), width_, scratch.composite());
  return scratch.composite();
}

void PlaneRows::take(Scratch &scratch, int channel, int y) const {
  if (deep_)
    take_deep_channel(reinterpret_cast<const std::uint16_t *>(scanline(y)), width_, channel,
                      scratch.channel(channel));
  else
    take_channel(scanline(y), bytes_per_pixel_, width_, channel, scratch.channel(channel));
}

const std::uint8_t *PlaneRows::plane_row(Scratch &scratch, std::size_t plane, int y) const {
  const PlaneKind kind = planes_[plane];
  take(scratch, kind.channel, y);
  if (kind.colours == PlaneColours::on_white && kind.channel != alpha_channel)
    take(scratch, alpha_channel, y);
  return plane_row(scratch, plane);
}

void PlaneRows::gather(Scratch &scratch, int band, const std::vector<std::size_t> &planes,
                       std::uint8_t *segment) const {
  const std::size_t band_bytes = static_cast<std::size_t>(rows_per_band_) * row_bytes_;
  const int top = band_top(band);
  for (int y = top; y < top + band_rows(band); ++y) {
    split(scratch, y);
    for (std::size_t k = 0; k < planes.size(); ++k)
      std::memcpy(segment + k * band_bytes + static_cast<std::size_t>(y - top) * row_bytes_,
                  plane_row(scratch, planes[k]), row_bytes_);
  }
}

} // namespace lumbrix
