#include "engine/psd/pack_ahead.h"

#include "engine/psd/packbits.h"

namespace lumbrix {
namespace {

constexpr int alpha = 3;

} // namespace

PsdPackAhead::PsdPackAhead(FIBITMAP *picture, PsdLayout layout, PsdCompression compression,
                           std::int64_t budget)
    : rows_(picture, plane_kinds(layout)), layout_(layout), compression_(compression),
      budget_(budget), bands_(rows_.planes().size()) {
  for (std::size_t plane = 0; plane < bands_.size(); ++plane)
    if (wanted(plane))
      bands_[plane].resize(static_cast<std::size_t>(rows_.band_count()));
}

bool PsdPackAhead::serves(FIBITMAP *picture, PsdLayout layout, PsdCompression compression) const {
  return picture == rows_.picture() && layout == layout_ && compression == compression_;
}

// Merged planes that are copies of the layer's (its alpha, and an opaque picture's colours) are
// written from the file; a merged-only document is never packed.
bool PsdPackAhead::wanted(std::size_t plane) const {
  const PlaneKind &kind = rows_.plane(plane);
  if (layout_ != PsdLayout::layered || compression_ != PsdCompression::rle)
    return false;
  const bool merged = kind.group == rows_.plane(rows_.planes().size() - 1).group;
  return !merged || (kind.channel != alpha && !rows_.opaque());
}

void PsdPackAhead::pack_band(Scratch &scratch, int band) {
  const int top = rows_.band_top(band);
  const int count = rows_.band_rows(band);
  std::vector<std::size_t> used(bands_.size());
  for (int y = top; y < top + count; ++y) {
    rows_.split(scratch.rows, y);
    for (std::size_t plane = 0; plane < bands_.size(); ++plane) {
      if (bands_[plane].empty())
        continue;
      const std::size_t length = pack_bits(rows_.plane_row(scratch.rows, plane), rows_.row_bytes(),
                                           scratch.segments[plane].data() + used[plane]);
      bands_[plane][static_cast<std::size_t>(band)].row_lengths.push_back(
          static_cast<std::uint32_t>(length));
      used[plane] += length;
    }
  }
  for (std::size_t plane = 0; plane < bands_.size(); ++plane)
    if (!bands_[plane].empty()) {
      const std::uint8_t *segment = scratch.segments[plane].data();
      bands_[plane][static_cast<std::size_t>(band)].bytes.assign(segment, segment + used[plane]);
      held_ += static_cast<std::int64_t>(used[plane]);
    }
}

void PsdPackAhead::pack_ready(int rows_ready) {
  const auto ready = [&] {
    return !stopped_ && next_band_ < rows_.band_count() && held_ < budget_ &&
           rows_.band_top(next_band_) + rows_.band_rows(next_band_) <= rows_ready;
  };
  if (ready() && !scratch_) {
    scratch_ = std::make_unique<Scratch>(Scratch{PlaneRows::Scratch(rows_.row_bytes()), {}});
    const std::size_t segment =
        static_cast<std::size_t>(rows_.rows_per_band()) * pack_bits_bound(rows_.row_bytes());
    for (const std::vector<Band> &bands : bands_)
      scratch_->segments.emplace_back(bands.empty() ? 0 : segment);
  }
  while (ready())
    pack_band(*scratch_, next_band_++);
}

PsdPackAhead::Band *PsdPackAhead::band(std::size_t plane, int band) {
  if (plane >= bands_.size() || bands_[plane].empty() || band >= next_band_)
    return nullptr;
  Band &packed = bands_[plane][static_cast<std::size_t>(band)];
  return packed.row_lengths.empty() ? nullptr : &packed;
}

} // namespace lumbrix
