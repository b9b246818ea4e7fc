#pragma once

#include "engine/psd/plane_rows.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace lumbrix {

// A picture's planes packed band by band while its later rows are still being decoded, for the
// writer to take instead of packing them itself. Only the planes a layered, packed document
// writes on their own are packed; the bytes held stay within the budget given.
class PsdPackAhead {
public:
  struct Band {
    std::vector<std::uint8_t> bytes;          // the band's rows, packed one after another
    std::vector<std::uint32_t> row_lengths{}; // the packed length of each row
  };

  PsdPackAhead(FIBITMAP *picture, PsdLayout layout, PsdCompression compression,
               std::int64_t budget);

  // Whether a document of this picture, layout and compression can take the bands.
  bool serves(FIBITMAP *picture, PsdLayout layout, PsdCompression compression) const;

  // Packs each band lying within the picture's first rows_ready rows that is not packed yet,
  // until stopped or out of budget. Called on one thread at a time.
  void pack_ready(int rows_ready);
  // From any thread: pack_ready returns after the band in hand, and packs no more.
  void stop() { stopped_ = true; }

  // The band of the plane as packed ahead, or null; the writer takes its bytes. Only once the
  // packing has ended.
  Band *band(std::size_t plane, int band);

private:
  struct Scratch {
    PlaneRows::Scratch rows;
    std::vector<std::vector<std::uint8_t>> segments; // a band of each plane, packed
  };

  bool wanted(std::size_t plane) const;
  void pack_band(Scratch &scratch, int band);

  PlaneRows rows_;
  PsdLayout layout_;
  PsdCompression compression_;
  std::int64_t budget_;
  std::int64_t held_ = 0;
  int next_band_ = 0;
  std::unique_ptr<Scratch> scratch_;
  std::vector<std::vector<Band>> bands_; // [plane][band]; a band left empty was not packed
  std::atomic<bool> stopped_ = false;
};

} // namespace lumbrix
