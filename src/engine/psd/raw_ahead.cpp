#include "engine/psd/raw_ahead.h"

#include "engine/psd/psd_format.h"
#include "platform/positioned_io.h"

namespace lumbrix {
namespace {

// The disk is handed the bytes as they come, a few megabytes at a time, rather than all at the
// sync before the run reports the file.
constexpr std::int64_t writeback_step = 8 * 1024 * 1024;

// Where the merged-only file's planes begin: after its start and the compression.
std::int64_t planes_start(FIBITMAP *picture) {
  const int depth = FreeImage_GetImageType(picture) == FIT_RGBA16 ? 16 : 8;
  const PsdBytes start =
      psd_merged_only_start(static_cast<int>(FreeImage_GetWidth(picture)),
                            static_cast<int>(FreeImage_GetHeight(picture)), depth);
  return static_cast<std::int64_t>(start.size()) + psd_compression_bytes;
}

} // namespace

PsdRawAhead::PsdRawAhead(FIBITMAP *picture, int descriptor)
    : rows_(picture, plane_kinds(PsdLayout::merged_only)), descriptor_(descriptor),
      start_(planes_start(picture)), planes_{0, 1, 2, 3},
      segment_(planes_.size() * static_cast<std::size_t>(rows_.rows_per_band()) *
               rows_.row_bytes()),
      scratch_(rows_.row_bytes()) {}

bool PsdRawAhead::serves(FIBITMAP *picture, PsdLayout layout, int descriptor) const {
  return picture == rows_.picture() && layout == PsdLayout::merged_only &&
         descriptor == descriptor_;
}

void PsdRawAhead::write_ready(int rows_ready) {
  const std::size_t band_bytes =
      static_cast<std::size_t>(rows_.rows_per_band()) * rows_.row_bytes();
  const auto plane_bytes = static_cast<std::int64_t>(rows_.row_bytes()) * rows_.height();
  for (int band = bands_written_;
       !stopped_ && band < rows_.band_count() && rows_.band_within(band, rows_ready);
       band = ++bands_written_) {
    rows_.gather(scratch_, band, planes_, segment_.data());
    const std::int64_t top = static_cast<std::int64_t>(rows_.band_top(band)) *
                             static_cast<std::int64_t>(rows_.row_bytes());
    for (std::size_t k = 0; k < planes_.size(); ++k)
      if (write_at(descriptor_, segment_.data() + k * band_bytes,
                   static_cast<std::size_t>(rows_.band_rows(band)) * rows_.row_bytes(),
                   start_ + static_cast<std::int64_t>(k) * plane_bytes + top) != 0) {
        stop();
        return;
      }
    handed_on_ += static_cast<std::int64_t>(planes_.size() * rows_.band_rows(band)) *
                  static_cast<std::int64_t>(rows_.row_bytes());
    if (handed_on_ >= writeback_step) {
      start_writeback(descriptor_);
      handed_on_ = 0;
    }
  }
}

} // namespace lumbrix
