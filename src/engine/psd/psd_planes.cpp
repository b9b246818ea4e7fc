#include "engine/psd/psd_planes.h"

#include "engine/psd/channel_rows.h"
#include "engine/psd/pack_ahead.h"
#include "engine/psd/packbits.h"
#include "engine/psd/psd_file.h"
#include "platform/bands.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>

namespace lumbrix {
namespace {

// Whether packing pays is judged from this many rows, in pictures of at least this many pixels:
// a smaller picture is packed as asked, which costs next to nothing.
constexpr int judged_rows = 64;
constexpr long long judged_pixels = 1 << 16;
// Below this many pixels a thread costs more than it saves.
constexpr long long banding_pixels = 1 << 18;

} // namespace

struct PsdPlanes::Scratch {
  Scratch(std::size_t row_bytes, std::size_t segment) : rows(row_bytes), segment(segment) {}

  PlaneRows::Scratch rows;
  std::vector<std::uint8_t> segment; // the band's rows of the planes being written
  std::unique_ptr<PsdPackAhead::Scratch> ahead;
};

// Bands of a packed plane are packed side by side and written in turn, each where the one before
// it ended.
struct PsdPlanes::Turns {
  std::mutex mutex;
  std::condition_variable turn;
  int next_band = 0;
};

PsdPlanes::PsdPlanes(FIBITMAP *picture, PsdCompression compression, std::vector<PlaneKind> planes,
                     PsdPackAhead *ahead)
    : rows_(picture, std::move(planes)), ahead_(ahead),
      packed_(rows_.planes().size(), compression == PsdCompression::rle),
      twins_(rows_.planes().size(), -1), always_twins_(rows_.planes().size(), false),
      offsets_(rows_.planes().size(),
               std::vector<std::int64_t>(static_cast<std::size_t>(rows_.height()) + 1)),
      starts_(rows_.planes().size()) {}

// Judged from rows spread evenly over the picture, every row of a small one. Each packed row also
// takes two bytes in the table of row lengths.
void PsdPlanes::choose_packing() {
  const int step = std::max(1, rows_.height() / judged_rows);
  PlaneRows::Scratch scratch(rows_.row_bytes());
  std::size_t groups = 0;
  for (const PlaneKind kind : rows_.planes())
    groups = std::max(groups, static_cast<std::size_t>(kind.group) + 1);
  std::vector<std::int64_t> packed(groups);
  std::vector<std::int64_t> raw(groups);
  for (int y = 0; y < rows_.height(); y += step) {
    rows_.split(scratch, y);
    for (std::size_t plane = 0; plane < packed_.size(); ++plane) {
      const auto group = static_cast<std::size_t>(rows_.plane(plane).group);
      packed[group] += static_cast<std::int64_t>(
                           packed_size(rows_.plane_row(scratch, plane), rows_.row_bytes())) +
                       2;
      raw[group] += static_cast<std::int64_t>(rows_.row_bytes());
    }
  }
  const std::int64_t plane_bytes = static_cast<std::int64_t>(rows_.row_bytes()) * rows_.height();
  expected_size_ = 0;
  for (std::size_t plane = 0; plane < packed_.size(); ++plane) {
    const auto group = static_cast<std::size_t>(rows_.plane(plane).group);
    packed_[plane] = packed[group] < raw[group];
    expected_size_ += packed_[plane] ? plane_bytes * packed[group] / raw[group] : plane_bytes;
  }
}

// A plane's rows can be taken from an earlier plane's only when both are stored alike.
void PsdPlanes::find_twins() {
  for (std::size_t plane = 0; plane < packed_.size(); ++plane) {
    const PlaneKind kind = rows_.plane(plane);
    for (std::size_t earlier = 0; earlier < plane && twins_[plane] < 0; ++earlier) {
      if (rows_.plane(earlier).channel != kind.channel || packed_[earlier] != packed_[plane])
        continue;
      twins_[plane] = static_cast<int>(earlier);
      always_twins_[plane] = rows_.plane(earlier).colours == kind.colours ||
                             kind.channel == alpha_channel || rows_.opaque();
    }
  }
}

void PsdPlanes::prepare() {
  expected_size_ = static_cast<std::int64_t>(rows_.row_bytes()) * rows_.height() *
                   static_cast<std::int64_t>(packed_.size());
  const bool any_packed = std::find(packed_.begin(), packed_.end(), true) != packed_.end();
  if (any_packed && static_cast<long long>(rows_.width()) * rows_.height() >= judged_pixels)
    choose_packing();
  find_twins();
  if (ahead_) {
    std::vector<bool> packed_alone(packed_.size());
    for (std::size_t plane = 0; plane < packed_.size(); ++plane)
      packed_alone[plane] = packed_[plane] && !always_twins_[plane];
    ahead_->keep_only(packed_alone);
  }
  for (std::size_t plane = 0; plane < packed_.size(); ++plane)
    if (!packed_[plane])
      for (std::size_t y = 0; y < offsets_[plane].size(); ++y)
        offsets_[plane][y] = static_cast<std::int64_t>(y * rows_.row_bytes());
}

// Every band is handed to the work, even once the file has failed or been stopped, so that no
// band waits for a turn that never comes; the work does nothing then.
void PsdPlanes::for_each_band(PsdFile &file, std::size_t segment, const BandWork &work) {
  const int bands = rows_.band_count();
  const bool banded = static_cast<long long>(rows_.width()) * rows_.height() >= banding_pixels;
  const int threads = std::min(bands, banded ? core_count() : 1);
  std::atomic<int> next = 0;
  for_each_run(threads, threads, 1, [&](int, int) {
    Scratch scratch(rows_.row_bytes(), segment);
    for (int band = next++; band < bands; band = next++) {
      work(scratch, band, rows_.band_top(band), rows_.band_rows(band));
      file.report();
    }
  });
}

// Every row of the plane equals its twin's, which is in the file already.
void PsdPlanes::copy_twin(PsdFile &file, std::size_t plane) {
  const auto twin = static_cast<std::size_t>(twins_[plane]);
  offsets_[plane] = offsets_[twin];
  file.copy(starts_[twin], offsets_[plane].back(), starts_[plane]);
}

// The group's planes side by side in each band: row y of plane p at offset y * row bytes.
void PsdPlanes::write_raw(PsdFile &file, std::size_t first, std::size_t count) {
  const std::size_t band_bytes =
      static_cast<std::size_t>(rows_.rows_per_band()) * rows_.row_bytes();
  std::vector<std::size_t> written;
  for (std::size_t plane = first; plane < first + count; ++plane)
    if (!always_twins_[plane])
      written.push_back(plane);
  for_each_band(file, written.size() * band_bytes, [&](Scratch &scratch, int band, int top, int) {
    if (!file.ok() || band < raw_bands_written_)
      return;
    rows_.gather(scratch.rows, band, written, scratch.segment.data());
    for (std::size_t k = 0; k < written.size(); ++k)
      file.write(scratch.segment.data() + k * band_bytes,
                 static_cast<std::size_t>(rows_.band_rows(band)) * rows_.row_bytes(),
                 starts_[written[k]] +
                     static_cast<std::int64_t>(top) * static_cast<std::int64_t>(rows_.row_bytes()));
  });
}

// The band's rows of the plane, packed ahead or packed here, in the scratch's segment, each row's
// length where its end offset will be; returns the band's length.
std::int64_t PsdPlanes::pack_band(Scratch &scratch, std::size_t plane, int band) {
  const auto top = static_cast<std::size_t>(rows_.band_top(band));
  const auto count = static_cast<std::size_t>(rows_.band_rows(band));
  std::vector<std::int64_t> &offsets = offsets_[plane];
  if (ahead_) {
    if (!scratch.ahead)
      scratch.ahead = ahead_->make_scratch();
    if (scratch.ahead)
      ahead_->pack(band, *scratch.ahead);
    PsdPackAhead::Band taken;
    if (ahead_->take(plane, band, taken)) {
      for (std::size_t i = 0; i < count; ++i)
        offsets[top + i + 1] = taken.row_lengths[i];
      scratch.segment = std::move(taken.bytes);
      return static_cast<std::int64_t>(scratch.segment.size());
    }
  }
  scratch.segment.resize(count * pack_bits_bound(rows_.row_bytes()));
  std::size_t used = 0;
  for (std::size_t y = top; y < top + count; ++y) {
    const std::size_t length = pack_bits(rows_.plane_row(scratch.rows, plane, static_cast<int>(y)),
                                         rows_.row_bytes(), scratch.segment.data() + used);
    offsets[y + 1] = static_cast<std::int64_t>(length);
    used += length;
  }
  return static_cast<std::int64_t>(used);
}

std::int64_t PsdPlanes::write_packed(PsdFile &file, std::size_t plane) {
  Turns turns;
  std::vector<std::int64_t> &offsets = offsets_[plane];
  for_each_band(file, 0, [&](Scratch &scratch, int band, int first, int count) {
    // Short of memory, the band still takes its turn, so that none waits for it forever.
    std::int64_t length = 0;
    try {
      length = file.ok() ? pack_band(scratch, plane, band) : 0;
    } catch (const std::bad_alloc &) {
      file.out_of_memory();
    }
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
