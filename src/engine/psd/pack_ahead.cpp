#include "engine/psd/pack_ahead.h"

#include "engine/psd/packbits.h"

#include <new>

namespace lumbrix {

PsdPackAhead::PsdPackAhead(FIBITMAP *picture, PsdLayout layout, PsdCompression compression,
                           std::int64_t budget)
    : rows_(picture, plane_kinds(layout)), layout_(layout), compression_(compression),
      budget_(budget), kept_(rows_.planes().size()), bands_(rows_.planes().size()),
      states_(std::make_unique<std::atomic<int>[]>(static_cast<std::size_t>(rows_.band_count()))) {
  for (std::size_t plane = 0; plane < bands_.size(); ++plane) {
    kept_[plane] = wanted(plane);
    if (kept_[plane])
      bands_[plane].resize(static_cast<std::size_t>(rows_.band_count()));
  }
}

bool PsdPackAhead::serves(FIBITMAP *picture, PsdLayout layout, PsdCompression compression) const {
  return picture == rows_.picture() && layout == layout_ && compression == compression_;
}

// Merged planes that are copies of the layer's (its alpha_channel, and an opaque picture's colours)
// are written from the file; a merged-only document is never packed.
bool PsdPackAhead::wanted(std::size_t plane) const {
  const PlaneKind &kind = rows_.plane(plane);
  if (layout_ != PsdLayout::layered || compression_ != PsdCompression::rle)
    return false;
  const bool merged = kind.group == rows_.plane(rows_.planes().size() - 1).group;
  return !merged || (kind.channel != alpha_channel && !rows_.opaque());
}

std::unique_ptr<PsdPackAhead::Scratch> PsdPackAhead::make_scratch() {
  try {
    auto scratch = std::make_unique<Scratch>(Scratch{PlaneRows::Scratch(rows_.row_bytes()), {}});
    const std::size_t segment =
        static_cast<std::size_t>(rows_.rows_per_band()) * pack_bits_bound(rows_.row_bytes());
    for (std::size_t plane = 0; plane < bands_.size(); ++plane)
      scratch->segments.emplace_back(kept_[plane] ? segment : 0);
    return scratch;
  } catch (const std::bad_alloc &) {
    stop();
    return nullptr;
  }
}

void PsdPackAhead::pack_rows(Scratch &scratch, int band) {
  const int top = rows_.band_top(band);
  const int count = rows_.band_rows(band);
  const auto at = static_cast<std::size_t>(band);
  std::vector<std::size_t> used(bands_.size());
  for (std::size_t plane = 0; plane < bands_.size(); ++plane)
    if (kept_[plane])
      bands_[plane][at].row_lengths.resize(static_cast<std::size_t>(count));
  for (int y = top; y < top + count; ++y) {
    rows_.split(scratch.rows, y);
    for (std::size_t plane = 0; plane < bands_.size(); ++plane) {
      if (!kept_[plane])
        continue;
      const std::size_t length = pack_bits(rows_.plane_row(scratch.rows, plane), rows_.row_bytes(),
                                           scratch.segments[plane].data() + used[plane]);
      bands_[plane][at].row_lengths[static_cast<std::size_t>(y - top)] =
          static_cast<std::uint32_t>(length);
      used[plane] += length;
    }
  }
  for (std::size_t plane = 0; plane < bands_.size(); ++plane)
    if (kept_[plane]) {
      const std::uint8_t *segment = scratch.segments[plane].data();
      bands_[plane][at].bytes.assign(segment, segment + used[plane]);
      held_ += static_cast<std::int64_t>(used[plane]);
    }
}

// Short of memory, a band is let go and nothing more is packed ahead: the writer packs the rest a
// plane at a time, in a band's memory.
bool PsdPackAhead::pack(int band, Scratch &scratch) {
  if (stopped_ || held_ >= budget_)
    return false;
  const auto at = static_cast<std::size_t>(band);
  int state = unpacked;
  if (!states_[at].compare_exchange_strong(state, packing))
    return false;
  try {
    pack_rows(scratch, band);
  } catch (const std::bad_alloc &) {
    stop();
    for (std::size_t plane = 0; plane < bands_.size(); ++plane)
      if (kept_[plane]) {
        held_ -= static_cast<std::int64_t>(bands_[plane][at].bytes.size());
        bands_[plane][at] = {};
      }
    states_[at] = unpacked;
    return false;
  }
  states_[at] = packed;
  return true;
}

void PsdPackAhead::pack_ready(int rows_ready) {
  const auto ready = [&] {
    return !stopped_ && next_band_ < rows_.band_count() &&
           rows_.band_within(next_band_, rows_ready);
  };
  if (ready() && !scratch_)
    scratch_ = make_scratch();
  while (ready() && scratch_ && pack(next_band_, *scratch_)) {
    drop_unpacked_planes(next_band_);
    ++next_band_;
  }
}

// While the picture loads, whether packing pays is not known yet: a plane whose band packed came
// out no smaller than raw (noise, heavy grain) is most likely stored raw, and packing the rest of
// it ahead would only hold memory and take the other core's time. Should it be packed after all,
// the writer packs it.
void PsdPackAhead::drop_unpacked_planes(int band) {
  const auto rows = static_cast<std::size_t>(rows_.band_rows(band));
  // A packed row also takes two bytes in the table of row lengths.
  const std::size_t raw = rows * rows_.row_bytes() - 2 * rows;
  std::vector<bool> keep = kept_;
  bool any_dropped = false;
  for (std::size_t plane = 0; plane < bands_.size(); ++plane)
    if (kept_[plane] && bands_[plane][static_cast<std::size_t>(band)].bytes.size() >= raw) {
      keep[plane] = false;
      any_dropped = true;
    }
  if (any_dropped)
    keep_only(keep);
}

void PsdPackAhead::keep_only(const std::vector<bool> &planes) {
  for (std::size_t plane = 0; plane < bands_.size(); ++plane) {
    if (!kept_[plane] || (plane < planes.size() && planes[plane]))
      continue;
    kept_[plane] = false;
    for (Band &band : bands_[plane])
      held_ -= static_cast<std::int64_t>(band.bytes.size());
    bands_[plane] = {};
  }
}

bool PsdPackAhead::take(std::size_t plane, int band, Band &out) {
  if (plane >= bands_.size() || !kept_[plane] || states_[static_cast<std::size_t>(band)] != packed)
    return false;
  Band &held = bands_[plane][static_cast<std::size_t>(band)];
  if (held.row_lengths.empty())
    return false;
  held_ -= static_cast<std::int64_t>(held.bytes.size());
  out = std::move(held);
  held = {};
  return true;
}

} // namespace lumbrix
