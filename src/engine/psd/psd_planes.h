#pragma once

#include "engine/psd/plane_rows.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace lumbrix {

class PsdFile;
class PsdPackAhead;

// The channel planes of a picture as a PSD file stores them: rows from the top, each packed on
// its own (or raw). The picture is read a band of rows at a time on every core. Raw planes of a
// group are written in one pass, their places known from the start; a packed plane is packed
// once, band by band, each band written where the one before it ended, its row lengths known once
// it is written. Given a store of bands packed ahead, the first packed plane's pass packs each
// band of every plane at once into it (within its memory budget) and later planes take theirs;
// without one, or past its budget, memory stays at a few bands per core. A plane whose every row
// equals an earlier plane's of its channel (the alpha plane) is copied from it in the file. With
// RLE, a group whose rows packing would not make smaller (noise, heavy grain) is stored raw: the
// file is smaller, and no pass is spent measuring it.
class PsdPlanes {
public:
  // picture: a 24 or 32-bit standard bitmap, or a FIT_RGBA16 one whose planes hold two bytes a
  // sample, that outlives this. ahead, when given, is a store of bands of these planes of this
  // picture, some perhaps packed already.
  PsdPlanes(FIBITMAP *picture, PsdCompression compression, std::vector<PlaneKind> planes,
            PsdPackAhead *ahead = nullptr);

  // The first bands of raw planes are in the file already, written while the picture loaded.
  void set_raw_bands_written(int bands) { raw_bands_written_ = bands; }

  // Chooses each group's compression, judged from a sample of rows in a large picture.
  void prepare();

  // Whether the plane's rows are packed; known once prepared.
  bool packed(std::size_t plane) const { return packed_[plane]; }

  // About how many bytes the planes' rows take, for telling how far the writing is.
  std::int64_t expected_size() const { return expected_size_; }

  // Where each row of a plane lies from the plane's start: row y from offsets[y] to
  // offsets[y + 1]. Known once prepared for a raw plane, once written for a packed one.
  const std::vector<std::int64_t> &row_offsets(std::size_t plane) const { return offsets_[plane]; }

  // Writes the rows of count planes of one group from first on, one plane after another from
  // start; returns where they end. Valid only while the file is ok.
  std::int64_t write(PsdFile &file, std::size_t first, std::size_t count, std::int64_t start);

private:
  struct Scratch;
  struct Turns;
  using BandWork = std::function<void(Scratch &, int band, int first, int count)>;

  void for_each_band(PsdFile &file, std::size_t segment, const BandWork &work);
  void choose_packing();
  void find_twins();
  void write_raw(PsdFile &file, std::size_t first, std::size_t count);
  std::int64_t write_packed(PsdFile &file, std::size_t plane);
  std::int64_t pack_band(Scratch &scratch, std::size_t plane, int band);
  void copy_twin(PsdFile &file, std::size_t plane);

  PlaneRows rows_;
  PsdPackAhead *ahead_;
  std::vector<bool> packed_;
  std::vector<int> twins_;         // an earlier plane of the same channel and compression, or -1
  std::vector<bool> always_twins_; // every row equals the twin's
  std::int64_t expected_size_ = 0;
  std::vector<std::vector<std::int64_t>> offsets_;
  std::vector<std::int64_t> starts_; // where each written plane's rows begin in the file
  int raw_bands_written_ = 0;
};

} // namespace lumbrix
