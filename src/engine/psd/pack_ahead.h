#pragma once

#include "engine/psd/plane_rows.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace lumbrix {

// A picture's planes packed a band at a time, every plane of a band from one reading of its
// rows, for the writer to take instead of packing each plane on its own. Bands can be packed
// while the picture's later rows are still being decoded, or by the writer's threads as it goes.
// Only the planes a layered, packed document writes on their own are packed; the bytes held
// stay within the budget given, and a band beyond it is left to the writer.
class PsdPackAhead {
public:
  struct Band {
    std::vector<std::uint8_t> bytes;          // the band's rows, packed one after another
    std::vector<std::uint32_t> row_lengths{}; // the packed length of each row
  };

  // Room for one thread's packing.
  struct Scratch {
    PlaneRows::Scratch rows;
    std::vector<std::vector<std::uint8_t>> segments; // a band of each plane, packed
  };

  PsdPackAhead(FIBITMAP *picture, PsdLayout layout, PsdCompression compression,
               std::int64_t budget);

  // Whether a document of this picture, layout and compression can take the bands.
  bool serves(FIBITMAP *picture, PsdLayout layout, PsdCompression compression) const;

  // Null, and nothing more packed ahead, when there is no memory for it.
  std::unique_ptr<Scratch> make_scratch();

  // Packs, in order, each band lying within the picture's first rows_ready rows that is not
  // packed yet, until stopped or out of budget. Called on one thread at a time.
  void pack_ready(int rows_ready);
  // From any thread: pack_ready returns after the band in hand, and packs no more.
  void stop() { stopped_ = true; }

  // Packs the band unless it is packed, or being packed, already; whether it was packed now.
  // Any thread, each with its own scratch.
  bool pack(int band, Scratch &scratch);

  // From now on only the planes marked are packed; what is held of the others is let go. Not
  // while bands are being packed. pack_ready also lets go of a plane once a band of it packed
  // does not come out smaller than raw.
  void keep_only(const std::vector<bool> &planes);

  // Moves the band of the plane into out, if it was packed; its memory no longer counts.
  bool take(std::size_t plane, int band, Band &out);

private:
  enum BandState : int { unpacked, packing, packed };

  bool wanted(std::size_t plane) const;
  void drop_unpacked_planes(int band);
  void pack_rows(Scratch &scratch, int band);

  PlaneRows rows_;
  PsdLayout layout_;
  PsdCompression compression_;
  std::int64_t budget_;
  std::atomic<std::int64_t> held_ = 0;
  int next_band_ = 0;
  std::unique_ptr<Scratch> scratch_;
  std::vector<bool> kept_;               // the planes packed
  std::vector<std::vector<Band>> bands_; // [plane][band]
  std::unique_ptr<std::atomic<int>[]> states_;
  std::atomic<bool> stopped_ = false;
};

} // namespace lumbrix
