#pragma once

#include "engine/psd/psd_document.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace lumbrix {

class PsdFile;

enum class PlaneColours {
  straight,
  on_white // the colours as a composite over white stores them; alpha stays as it is
};

// One channel plane of the file: channel 0 red, 1 green, 2 blue, 3 alpha of the picture. The
// planes of one group share their compression: a layer channel is a group of its own, the merged
// image's four planes are one.
struct PlaneKind {
  int channel;
  PlaneColours colours;
  int group;
};

// The channel planes of a picture as a PSD file stores them: rows from the top, each packed on
// its own (or raw). Each pass reads the picture once, a band of rows at a time on every core,
// splitting each row into all its planes, so memory stays at a few bands per core whatever the
// picture's size. A row equal to the same row of an earlier plane of its channel (the alpha
// plane, the colours of opaque rows) is packed once. With RLE, a group whose rows packing would
// not make smaller (noise, heavy grain) is stored raw: the file is smaller, and no pass is spent
// measuring it.
class PsdPlanes {
public:
  // picture: a 24 or 32-bit standard bitmap, or a FIT_RGBA16 one whose planes hold two bytes a
  // sample, that outlives this.
  PsdPlanes(FIBITMAP *picture, PsdCompression compression, std::vector<PlaneKind> planes);

  // Chooses each group's compression, then learns the length of every packed row, which the
  // file gives before the rows: RLE rows are packed once for it. False when the file was stopped.
  bool measure(PsdFile &file);

  // Whether the plane's rows are packed; known once measured.
  bool packed(std::size_t plane) const { return packed_[plane]; }

  // Where each row of a plane lies from the plane's start: row y from offsets[y] to
  // offsets[y + 1]. Known once measured.
  const std::vector<std::int64_t> &row_offsets(std::size_t plane) const { return offsets_[plane]; }

  // Writes the rows of every plane, plane p's from starts[p] on. False once the file has failed
  // or been stopped.
  bool write(PsdFile &file, const std::vector<std::int64_t> &starts);

private:
  struct Scratch;
  using BandWork = std::function<void(Scratch &, int first, int count)>;

  // packs: the work fills the scratch's segments.
  void for_each_band(PsdFile &file, bool packs, const BandWork &work);
  void choose_packing();
  void find_twins();
  bool split_row(Scratch &scratch, int y) const;
  const std::uint8_t *plane_row(Scratch &scratch, std::size_t plane) const;
  bool repeats_twin(std::size_t plane, bool opaque) const;
  void measure_band(Scratch &scratch, int first, int count);
  void write_band(Scratch &scratch, int first, int count, PsdFile &file,
                  const std::vector<std::int64_t> &starts);

  FIBITMAP *picture_;
  int width_;
  int height_;
  int bytes_per_pixel_;
  bool deep_;
  std::size_t row_bytes_; // of one plane
  std::vector<PlaneKind> planes_;
  std::vector<bool> packed_;
  std::vector<int> twins_;          // an earlier plane of the same channel and compression, or -1
  std::vector<bool> always_twins_;  // every row equals the twin's
  bool opaque_rows_matter_ = false; // some rows equal the twin's only where opaque
  int rows_per_band_;
  std::vector<std::vector<std::int64_t>> offsets_;
};

} // namespace lumbrix
