#pragma once

#include "engine/psd/plane_rows.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace lumbrix {

// A merged-only document's raw planes written into its file a band at a time while the picture's
// later rows are still being decoded: their places are known from the start. The writer then
// writes only the bands after them.
class PsdRawAhead {
public:
  // descriptor: the file the document will be written to, which outlives this.
  PsdRawAhead(FIBITMAP *picture, int descriptor);

  // Whether a document of this picture and layout, written to this file, can take the bands.
  bool serves(FIBITMAP *picture, PsdLayout layout, int descriptor) const;

  // Writes, in order, each band lying within the picture's first rows_ready rows that is not
  // written yet, until stopped or a write fails. One thread at a time.
  void write_ready(int rows_ready);
  // From any thread: write_ready returns after the band in hand, and writes no more.
  void stop() { stopped_ = true; }

  // How many bands from the top are in the file; only once the writing has ended.
  int bands_written() const { return bands_written_; }

private:
  PlaneRows rows_;
  int descriptor_;
  std::int64_t start_; // where the first plane's rows begin
  std::vector<std::size_t> planes_;
  std::vector<std::uint8_t> segment_;
  PlaneRows::Scratch scratch_;
  int bands_written_ = 0;
  std::int64_t handed_on_ = 0; // bytes written since the disk was last handed them
  std::atomic<bool> stopped_ = false;
};

} // namespace lumbrix
