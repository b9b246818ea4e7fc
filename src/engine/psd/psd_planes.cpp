#include "engine/psd/psd_planes.h"

#include "engine/psd/channel_rows.h"
#include "engine/psd/packbits.h"
#include "engine/psd/psd_file.h"
#include "platform/bands.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace lumbrix {
namespace {

// About this much of each plane per band: large enough that a write is cheap, small enough that
// a band of every plane stays in the cache.
constexpr std::size_t segment_bytes = 1 << 17;
// Whether packing pays is judged from this many rows, in pictures of at least this many pixels:
// a smaller picture is packed as asked, both passes over it cost next to nothing.
constexpr int judged_rows = 64;
constexpr long long judged_pixels = 1 << 16;
// Below this many pixels a thread costs more than it saves.
constexpr long long banding_pixels = 1 << 18;
constexpr int alpha = 3;

} // namespace

struct PsdPlanes::Scratch {
  Scratch(std::size_t row_bytes, std::size_t planes, std::size_t segment)
      : channels(4 * row_bytes), composite(row_bytes),
        segments(planes, std::vector<std::uint8_t>(segment)), row_bytes(row_bytes) {}
  std::uint8_t *channel(int c) { return channels.data() + static_cast<std::size_t>(c) * row_bytes; }

  std::vector<std::uint8_t> channels;              // red, green, blue and alpha of the current row
  std::vector<std::uint8_t> composite;             // one colour of it over white
  std::vector<std::vector<std::uint8_t>> segments; // each plane's rows of the band, packed
  std::size_t row_bytes;
};

PsdPlanes::PsdPlanes(FIBITMAP *picture, PsdCompression compression, std::vector<PlaneKind> planes)
    : picture_(picture), width_(static_cast<int>(FreeImage_GetWidth(picture))),
      height_(static_cast<int>(FreeImage_GetHeight(picture))),
      bytes_per_pixel_(static_cast<int>(FreeImage_GetBPP(picture)) / 8),
      deep_(FreeImage_GetImageType(picture) == FIT_RGBA16),
      row_bytes_(static_cast<std::size_t>(width_) * (deep_ ? 2 : 1)), planes_(std::move(planes)),
      packed_(planes_.size(), compression == PsdCompression::rle), twins_(planes_.size(), -1),
      always_twins_(planes_.size(), false),
      rows_per_band_(static_cast<int>(std::clamp<std::size_t>(
          segment_bytes / pack_bits_bound(row_bytes_), 1, static_cast<std::size_t>(height_)))),
      offsets_(planes_.size(), std::vector<std::int64_t>(static_cast<std::size_t>(height_) + 1)) {}

// Judged from rows spread evenly over the picture, every row of a small one. Each packed row also
// takes two bytes in the table of row lengths.
void PsdPlanes::choose_packing() {
  const int step = std::max(1, height_ / judged_rows);
  Scratch scratch(row_bytes_, planes_.size(), 0);
  std::size_t groups = 0;
  for (const PlaneKind kind : planes_)
    groups = std::max(groups, static_cast<std::size_t>(kind.group) + 1);
  std::vector<std::int64_t> packed(groups);
  std::vector<std::int64_t> raw(groups);
  for (int y = 0; y < height_; y += step) {
    split_row(scratch, y);
    for (std::size_t plane = 0; plane < planes_.size(); ++plane) {
      const auto group = static_cast<std::size_t>(planes_[plane].group);
      packed[group] +=
          static_cast<std::int64_t>(packed_size(plane_row(scratch, plane), row_bytes_)) + 2;
      raw[group] += static_cast<std::int64_t>(row_bytes_);
    }
  }
  for (std::size_t plane = 0; plane < planes_.size(); ++plane) {
    const auto group = static_cast<std::size_t>(planes_[plane].group);
    packed_[plane] = packed[group] < raw[group];
  }
}

// A plane's rows can be taken from an earlier plane's only when both are stored alike.
void PsdPlanes::find_twins() {
  for (std::size_t plane = 0; plane < planes_.size(); ++plane) {
    const PlaneKind kind = planes_[plane];
    for (std::size_t earlier = 0; earlier < plane && twins_[plane] < 0; ++earlier) {
      if (planes_[earlier].channel != kind.channel || packed_[earlier] != packed_[plane])
        continue;
      twins_[plane] = static_cast<int>(earlier);
      always_twins_[plane] = planes_[earlier].colours == kind.colours || kind.channel == alpha ||
                             bytes_per_pixel_ == 3;
      opaque_rows_matter_ = opaque_rows_matter_ || !always_twins_[plane];
    }
  }
}

void PsdPlanes::for_each_band(PsdFile &file, bool packs, const BandWork &work) {
  const int bands = (height_ + rows_per_band_ - 1) / rows_per_band_;
  const bool banded = static_cast<long long>(width_) * height_ >= banding_pixels;
  const int threads = std::min(bands, banded ? core_count() : 1);
  std::atomic<int> next = 0;
  for_each_run(threads, threads, 1, [&](int, int) {
    const std::size_t segment =
        packs ? static_cast<std::size_t>(rows_per_band_) * pack_bits_bound(row_bytes_) : 0;
    Scratch scratch(row_bytes_, planes_.size(), segment);
    for (int band = next++; band < bands && file.ok(); band = next++) {
      const int first = band * rows_per_band_;
      work(scratch, first, std::min(rows_per_band_, height_ - first));
      file.report();
    }
  });
}

// Returns whether the row is opaque, where that matters.
bool PsdPlanes::split_row(Scratch &scratch, int y) const {
  std::uint8_t *const rows[4] = {scratch.channel(0), scratch.channel(1), scratch.channel(2),
                                 scratch.channel(alpha)};
  const BYTE *pixels = FreeImage_GetScanLine(picture_, height_ - 1 - y);
  if (deep_)
    split_deep_channels(reinterpret_cast<const std::uint16_t *>(pixels), width_, rows);
  else
    split_channels(pixels, bytes_per_pixel_, width_, rows);
  return bytes_per_pixel_ == 3 ||
         (opaque_rows_matter_ && all_opaque(rows[alpha], static_cast<int>(row_bytes_)));
}

const std::uint8_t *PsdPlanes::plane_row(Scratch &scratch, std::size_t plane) const {
  const PlaneKind kind = planes_[plane];
  if (kind.colours == PlaneColours::straight || kind.channel == alpha)
    return scratch.channel(kind.channel);
  (deep_ ? deep_colour_on_white : colour_on_white)(
      scratch.channel(kind.channel), scratch.channel(alpha), width_, scratch.composite.data());
  return scratch.composite.data();
}

bool PsdPlanes::repeats_twin(std::size_t plane, bool opaque) const {
  return twins_[plane] >= 0 && (always_twins_[plane] || opaque);
}

// Lengths go where the offsets will be, one row on, and are summed once every band is done.
void PsdPlanes::measure_band(Scratch &scratch, int first, int count) {
  for (auto y = static_cast<std::size_t>(first); y < static_cast<std::size_t>(first + count); ++y) {
    const bool opaque = split_row(scratch, static_cast<int>(y));
    for (std::size_t plane = 0; plane < planes_.size(); ++plane) {
      if (!packed_[plane])
        continue;
      offsets_[plane][y + 1] =
          repeats_twin(plane, opaque)
              ? offsets_[static_cast<std::size_t>(twins_[plane])][y + 1]
              : static_cast<std::int64_t>(packed_size(plane_row(scratch, plane), row_bytes_));
    }
  }
}

bool PsdPlanes::measure(PsdFile &file) {
  const auto any_packed = [this] {
    return std::find(packed_.begin(), packed_.end(), true) != packed_.end();
  };
  if (any_packed() && static_cast<long long>(width_) * height_ >= judged_pixels)
    choose_packing();
  find_twins();
  for (std::size_t plane = 0; plane < planes_.size(); ++plane)
    if (!packed_[plane])
      std::fill(offsets_[plane].begin() + 1, offsets_[plane].end(),
                static_cast<std::int64_t>(row_bytes_));
  if (any_packed())
    for_each_band(file, false, [this](Scratch &scratch, int first, int count) {
      measure_band(scratch, first, count);
    });
  for (auto &offsets : offsets_)
    for (std::size_t y = 1; y < offsets.size(); ++y)
      offsets[y] += offsets[y - 1];
  return file.ok();
}

void PsdPlanes::write_band(Scratch &scratch, int first, int count, PsdFile &file,
                           const std::vector<std::int64_t> &starts) {
  const auto begin = static_cast<std::size_t>(first);
  const auto end = static_cast<std::size_t>(first + count);
  // Where row y of a plane goes within the band's segment.
  const auto place = [&](std::size_t plane, std::size_t y) {
    return scratch.segments[plane].data() + (offsets_[plane][y] - offsets_[plane][begin]);
  };
  for (std::size_t y = begin; y < end; ++y) {
    const bool opaque = split_row(scratch, static_cast<int>(y));
    for (std::size_t plane = 0; plane < planes_.size(); ++plane) {
      if (always_twins_[plane])
        continue;
      if (repeats_twin(plane, opaque))
        std::memcpy(place(plane, y), place(static_cast<std::size_t>(twins_[plane]), y),
                    static_cast<std::size_t>(offsets_[plane][y + 1] - offsets_[plane][y]));
      else if (!packed_[plane])
        std::memcpy(place(plane, y), plane_row(scratch, plane), row_bytes_);
      else
        pack_bits(plane_row(scratch, plane), row_bytes_, place(plane, y));
    }
  }
  for (std::size_t plane = 0; plane < planes_.size(); ++plane) {
    const auto &bytes =
        scratch.segments[always_twins_[plane] ? static_cast<std::size_t>(twins_[plane]) : plane];
    file.write(bytes.data(),
               static_cast<std::size_t>(offsets_[plane][end] - offsets_[plane][begin]),
               starts[plane] + offsets_[plane][begin]);
  }
}

bool PsdPlanes::write(PsdFile &file, const std::vector<std::int64_t> &starts) {
  for_each_band(file, true, [&](Scratch &scratch, int first, int count) {
    write_band(scratch, first, count, file, starts);
  });
  return file.ok();
}

} // namespace lumbrix
