#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumbrix {

// The byte layout of a PSD file: every number big-endian, every length exactly what follows.

// A run of PSD bytes being put together.
class PsdBytes {
public:
  void u8(unsigned value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }
  void u16(unsigned value);
  void u32(std::uint32_t value);
  void append(const void *data, std::size_t size);
  void zeros(std::size_t count) { bytes_.resize(bytes_.size() + count); }
  // Overwrites the four bytes at at, written earlier as a placeholder.
  void set_u32(std::size_t at, std::uint32_t value);

  const std::uint8_t *data() const { return bytes_.data(); }
  std::size_t size() const { return bytes_.size(); }

private:
  std::vector<std::uint8_t> bytes_;
};

// The file header for an RGB picture with four channels of depth (8 or 16) bits each, and empty
// colour-mode data.
PsdBytes psd_header(int width, int height, int depth);

// What comes before a merged-only file's channel data: the header, and empty image resources
// and layer sections.
PsdBytes psd_merged_only_start(int width, int height, int depth);

// The image resources section: ResolutionInfo, and the ICC profile when there is one.
PsdBytes psd_resources(double horizontal_dpi, double vertical_dpi, const QByteArray &icc_profile);

// The channels of the layer, in the order of its record and its data.
inline constexpr int psd_layer_channels = 4;
// Picture channel (0 red, 1 green, 2 blue, 3 alpha) of each layer channel: transparency first.
inline constexpr int psd_layer_channel_order[psd_layer_channels] = {3, 0, 1, 2};

// The start of the layer and mask section up to the layer's channel data: section length,
// layer info length, a layer count of -1 (the merged image's fourth channel is its
// transparency) and one visible full-canvas layer record. The lengths are placeholders.
struct PsdLayerStart {
  PsdBytes bytes;
  std::size_t channel_length_at[psd_layer_channels] = {};

  // Fills in the lengths once the channel data is written.
  void set_lengths(const std::int64_t (&channel_lengths)[psd_layer_channels]);
  // What follows the channel data: the layer info padded to an even length, and an empty
  // global layer mask.
  PsdBytes tail(std::int64_t channel_data) const;

private:
  std::int64_t padded_layer_info(std::int64_t channel_data) const;
};
PsdLayerStart psd_layer_start(int width, int height, const QString &name);

// The compression field that opens a channel's data.
inline constexpr int psd_compression_bytes = 2;

// What precedes channel data: the compression and, with RLE, each plane's table of row lengths,
// rows given by their offsets (one more than the rows).
PsdBytes psd_channel_start(bool rle, const std::vector<const std::vector<std::int64_t> *> &planes);

} // namespace lumbrix
