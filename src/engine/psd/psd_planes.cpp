#include "engine/psd/psd_planes.h"

#include "engine/psd/channel_rows.h"
#include "engine/psd/packbits.h"
#include "engine/psd/psd_file.h"
#include "platform/bands.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace lumbrix {
namespace {

// About this much of each plane per band: large enough that a write is cheap, small enough that
// a band of every plane stays in the cache.
constexpr std::size_t segment_bytes = 1 << 17;
// Whether packing pays is judged from this many rows, in pictures of at least this many pixels:
// a smaller picture is packed as asked, which costs next to nothing.
constexpr int judged_rows = 64;
constexpr long long judged_pixels = 1 << 16;
// Below this many pixels a thread costs more than it saves.
constexpr long long banding_pixels = 1 << 18;
constexpr int alpha = 3;

} // namespace

struct PsdPlanes::Scratch {
  Scratch(std::size_t row_bytes, std::size_t segment)
      : channels(4 * row_bytes), composite(row_bytes), segment(segment), row_bytes(row_bytes) {}
  std::uint8_t *channel(int c) { return channels.data() + static_cast<std::size_t>(c) * row_bytes; }

  std::vector<std::uint8_t> channels;  // red, green, blue and alpha of the current row
  std::vector<std::uint8_t> composite; // one colour of it over white
  std::vector<std::uint8_t> segment;   // the band's rows of the planes being written
  std::size_t row_bytes;
};

// Bands of a packed plane are packed side by side and written in turn, each where the one before
// it ended.
struct PsdPlanes::Turns {
  std::mutex mutex;
  std::condition_variable turn;
  int next_band = 0;
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
      offsets_(planes_.size(), std::vector<std::int64_t>(static_cast<std::size_t>(height_) + 1)),
      starts_(planes_.size()) {}

// Judged from rows spread evenly over the picture, every row of a small one. Each packed row also
// takes two bytes in the table of row lengths.
void PsdPlanes::choose_packing() {
  const int step = std::max(1, height_ / judged_rows);
  Scratch scratch(row_bytes_, 0);
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
  const std::int64_t plane_bytes = static_cast<std::int64_t>(row_bytes_) * height_;
  expected_size_ = 0;
  for (std::size_t plane = 0; plane < planes_.size(); ++plane) {
    const auto group = static_cast<std::size_t>(planes_[plane].group);
    packed_[plane] = packed[group] < raw[group];
    expected_size_ += packed_[plane] ? plane_bytes * packed[group] / raw[group] : plane_bytes;
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
    }
  }
}

void PsdPlanes::prepare() {
  expected_size_ =
      static_cast<std::int64_t>(row_bytes_) * height_ * static_cast<std::int64_t>(planes_.size());
  const bool any_packed = std::find(packed_.begin(), packed_.end(), true) != packed_.end();
  if (any_packed && static_cast<long long>(width_) * height_ >= judged_pixels)
    choose_packing();
  find_twins();
  for (std::size_t plane = 0; plane < planes_.size(); ++plane)
    if (!packed_[plane])
      for (std::size_t y = 0; y < offsets_[plane].size(); ++y)
        offsets_[plane][y] = static_cast<std::int64_t>(y * row_bytes_);
}

// Every band is handed to the work, even once the file has failed or been stopped, so that no
// band waits for a turn that never comes; the work does nothing then.
void PsdPlanes::for_each_band(PsdFile &file, std::size_t segment, const BandWork &work) {
  const int bands = (height_ + rows_per_band_ - 1) / rows_per_band_;
  const bool banded = static_cast<long long>(width_) * height_ >= banding_pixels;
  const int threads = std::min(bands, banded ? core_count() : 1);
  std::atomic<int> next = 0;
  for_each_run(threads, threads, 1, [&](int, int) {
    Scratch scratch(row_bytes_, segment);
    for (int band = next++; band < bands; band = next++) {
      const int first = band * rows_per_band_;
      work(scratch, band, first, std::min(rows_per_band_, height_ - first));
      file.report();
    }
  });
}

// Returns whether the row is opaque.
bool PsdPlanes::split_row(Scratch &scratch, int y) const {
  std::uint8_t *const rows[4] = {scratch.channel(0), scratch.channel(1), scratch.channel(2),
                                 scratch.channel(alpha)};
  const BYTE *pixels = FreeImage_GetScanLine(picture_, height_ - 1 - y);
  if (deep_)
    split_deep_channels(reinterpret_cast<const std::uint16_t *>(pixels), width_, rows);
  else
    split_channels(pixels, bytes_per_pixel_, width_, rows);
  return bytes_per_pixel_ == 3;
}

const std::uint8_t *PsdPlanes::plane_row(Scratch &scratch, std::size_t plane) const {
  const PlaneKind kind = planes_[plane];
  if (kind.colours == PlaneColours::straight || kind.channel == alpha)
    return scratch.channel(kind.channel);
  (deep_ ? deep_colour_on_white : colour_on_white)(
      scratch.channel(kind.channel), scratch.channel(alpha), width_, scratch.composite.data());
  return scratch.composite.data();
}

// Every row of the plane equals its twin's, which is in the file already.
void PsdPlanes::copy_twin(PsdFile &file, std::size_t plane) {
  const auto twin = static_cast<std::size_t>(twins_[plane]);
  offsets_[plane] = offsets_[twin];
  file.copy(starts_[twin], offsets_[plane].back(), starts_[plane]);
}

// The group's planes side by side in each band: row y of plane p at offset y * row bytes.
void PsdPlanes::write_raw(PsdFile &file, std::size_t first, std::size_t count) {
  const std::size_t band_bytes = static_cast<std::size_t>(rows_per_band_) * row_bytes_;
  for_each_band(file, count * band_bytes, [&](Scratch &scratch, int, int top, int rows) {
    if (!file.ok())
      return;
    for (int y = top; y < top + rows; ++y) {
      split_row(scratch, y);
      for (std::size_t i = 0; i < count; ++i)
        if (!always_twins_[first + i])
          std::memcpy(scratch.segment.data() + i * band_bytes +
                          static_cast<std::size_t>(y - top) * row_bytes_,
                      plane_row(scratch, first + i), row_bytes_);
    }
    for (std::size_t i = 0; i < count; ++i)
      if (!always_twins_[first + i])
        file.write(scratch.segment.data() + i * band_bytes,
                   static_cast<std::size_t>(rows) * row_bytes_,
                   starts_[first + i] +
                       static_cast<std::int64_t>(top) * static_cast<std::int64_t>(row_bytes_));
  });
}

// Packs the band's rows of the plane into the scratch's segment, each row's length where its end
// offset will be; returns the band's length.
std::int64_t PsdPlanes::pack_band(Scratch &scratch, std::size_t plane, int first, int count) {
  std::size_t used = 0;
  for (auto y = static_cast<std::size_t>(first); y < static_cast<std::size_t>(first + count); ++y) {
    split_row(scratch, static_cast<int>(y));
    const std::size_t length =
        pack_bits(plane_row(scratch, plane), row_bytes_, scratch.segment.data() + used);
    offsets_[plane][y + 1] = static_cast<std::int64_t>(length);
    used += length;
  }
  return static_cast<std::int64_t>(used);
}

std::int64_t PsdPlanes::write_packed(PsdFile &file, std::size_t plane) {
  Turns turns;
  std::vector<std::int64_t> &offsets = offsets_[plane];
  const std::size_t segment =
      static_cast<std::size_t>(rows_per_band_) * pack_bits_bound(row_bytes_);
  for_each_band(file, segment, [&](Scratch &scratch, int band, int first, int count) {
    const std::int64_t length = file.ok() ? pack_band(scratch, plane, first, count) : 0;
    std::unique_lock lock(turns.mutex);
    turns.turn.wait(lock, [&] { return turns.next_band == band; });
    // The band before this one is in place: its end is where this band begins.
    const auto top = static_cast<std::size_t>(first);
    for (std::size_t y = top; length > 0 && y < top + static_cast<std::size_t>(count); ++y)
      offsets[y + 1] += offsets[y];
    ++turns.next_band;
    lock.unlock();
    turns.turn.notify_all();
    if (length > 0)
      file.write(scratch.segment.data(), static_cast<std::size_t>(length),
                 starts_[plane] + offsets[top]);
  });
  return offsets.back();
}

std::int64_t PsdPlanes::write(PsdFile &file, std::size_t first, std::size_t count,
                              std::int64_t start) {
  const auto place = [&](std::size_t plane) {
    starts_[plane] = start;
    if (always_twins_[plane])
      copy_twin(file, plane);
    else if (packed_[plane])
      write_packed(file, plane);
    start += offsets_[plane].back();
  };
  if (packed_[first]) {
    for (std::size_t plane = first; plane < first + count; ++plane)
      place(plane);
    return start;
  }
  // Raw rows have their places from the start: the group's planes are written in one pass.
  std::int64_t at = start;
  for (std::size_t plane = first; plane < first + count; ++plane) {
    starts_[plane] = at;
    at += offsets_[plane].back();
  }
  write_raw(file, first, count);
  for (std::size_t plane = first; plane < first + count; ++plane)
    if (always_twins_[plane])
      copy_twin(file, plane);
  return at;
}

} // namespace lumbrix
