#pragma once

#include "engine/psd/psd_document.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumbrix {

enum class PlaneColours {
  straight,
  on_white // the colours as a composite over white stores them; alpha stays as it is
};

// The picture's channels: 0 red, 1 green, 2 blue, and this one.
inline constexpr int alpha_channel = 3;

// One channel plane of the file: channel 0 red, 1 green, 2 blue, 3 alpha of the picture. The
// planes of one group share their compression: a layer channel is a group of its own, the merged
// image's four planes are one.
struct PlaneKind {
  int channel;
  PlaneColours colours;
  int group;
};

// The planes a document of the layout stores, in the file's order: the layer's channels
// (transparency first), then the merged image's red, green, blue and alpha.
std::vector<PlaneKind> plane_kinds(PsdLayout layout);

// The rows of a picture's planes, one byte a sample or two (high byte first) for 16-bit ones,
// taken a band of rows at a time: bands are the unit of work and of writing.
class PlaneRows {
public:
  // picture: a 24 or 32-bit standard bitmap, or a FIT_RGBA16 one, that outlives this.
  PlaneRows(FIBITMAP *picture, std::vector<PlaneKind> planes);

  // Room for one thread's rows: every channel of a row, one composite row.
  class Scratch {
  public:
    explicit Scratch(std::size_t row_bytes) : channels_(4 * row_bytes), composite_(row_bytes) {}
    std::uint8_t *channel(int c) { return channels_.data() + c * channels_.size() / 4; }
    std::uint8_t *composite() { return composite_.data(); }

  private:
    std::vector<std::uint8_t> channels_;
    std::vector<std::uint8_t> composite_;
  };

  FIBITMAP *picture() const { return picture_; }
  int width() const { return width_; }
  int height() const { return height_; }
  bool opaque() const { return bytes_per_pixel_ == 3; }
  std::size_t row_bytes() const { return row_bytes_; }
  const std::vector<PlaneKind> &planes() const { return planes_; }
  const PlaneKind &plane(std::size_t index) const { return planes_[index]; }

  int rows_per_band() const { return rows_per_band_; }
  int band_count() const { return (height_ + rows_per_band_ - 1) / rows_per_band_; }
  int band_top(int band) const { return band * rows_per_band_; }
  int band_rows(int band) const;
  // Whether the band lies within the picture's first rows rows.
  bool band_within(int band, int rows) const { return band_top(band) + band_rows(band) <= rows; }

  // Splits row y (from the top) into its four channels; plane_row then gives any plane's row.
  void split(Scratch &scratch, int y) const;
  const std::uint8_t *plane_row(Scratch &scratch, std::size_t plane) const;
  // Row y of one plane, taking only the channels it needs.
  const std::uint8_t *plane_row(Scratch &scratch, std::size_t plane, int y) const;
  // The band's rows of each plane listed, as stored raw, into segment: the k-th plane's row y at
  // k * rows_per_band() * row_bytes() + (y - band_top(band)) * row_bytes().
  void gather(Scratch &scratch, int band, const std::vector<std::size_t> &planes,
              std::uint8_t *segment) const;

private:
  const std::uint8_t *scanline(int y) const;
  void take(Scratch &scratch, int channel, int y) const;

  FIBITMAP *picture_;
  int width_;
  int height_;
  int bytes_per_pixel_;
  bool deep_;
  std::size_t row_bytes_;
  std::vector<PlaneKind> planes_;
  int rows_per_band_;
};

} // namespace lumbrix
