#include "engine/psd/psd_format.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace lumbrix {
namespace {

constexpr std::uint16_t resolution_info_id = 1005;
constexpr std::uint16_t icc_profile_id = 1039;
constexpr unsigned pixels_per_inch = 1;
constexpr unsigned inches = 1;

// 16.16 fixed point; anything unusable is read as the 72 dpi every reader assumes. Pixels per
// metre land a hair off the whole dpi they stand for (11811 is 299.9994 dpi): within a hundredth,
// the whole dpi is stored, which readers that keep whole numbers show as meant.
std::uint32_t fixed_dpi(double dpi) {
  if (!(dpi > 0) || !std::isfinite(dpi))
    dpi = 72;
  if (std::abs(dpi - std::round(dpi)) <= 0.01)
    dpi = std::round(dpi);
  return static_cast<std::uint32_t>(std::clamp(std::llround(dpi * 65536.0), 1LL, 0x7FFFFFFFLL));
}

void put_resource(PsdBytes &out, std::uint16_t id, const void *data, std::size_t size) {
  out.append("8BIM", 4);
  out.u16(id);
  out.u16(0); // empty name, padded to an even size
  out.u32(static_cast<std::uint32_t>(size));
  out.append(data, size);
  if (size % 2 != 0)
    out.u8(0);
}

PsdBytes resolution_info(double horizontal_dpi, double vertical_dpi) {
  PsdBytes info;
  for (const double dpi : {horizontal_dpi, vertical_dpi}) {
    info.u32(fixed_dpi(dpi));
    info.u16(pixels_per_inch);
    info.u16(inches);
  }
  return info;
}

// The Pascal name holds at most 255 bytes of an 8-bit encoding, padded to a multiple of four;
// the Unicode name follows in a tagged block, which readers prefer.
void put_name(PsdBytes &out, const QString &name) {
  const QByteArray latin = name.toLatin1().left(255);
  out.u8(static_cast<unsigned>(latin.size()));
  out.append(latin.constData(), static_cast<std::size_t>(latin.size()));
  out.zeros((4 - (1 + latin.size()) % 4) % 4);
}

void put_unicode_name(PsdBytes &out, const QString &name) {
  const auto units = static_cast<std::uint32_t>(name.size());
  const std::uint32_t padding = units % 2 != 0 ? 2 : 0; // keeps the block a multiple of four
  out.append("8BIMluni", 8);
  out.u32(4 + 2 * units + padding);
  out.u32(units);
  for (const QChar unit : name)
    out.u16(unit.unicode());
  out.zeros(padding);
}

PsdBytes extra_data(const QString &name) {
  PsdBytes extra;
  extra.u32(0); // no layer mask
  extra.u32(0); // no blending ranges
  put_name(extra, name);
  put_unicode_name(extra, name);
  return extra;
}

} // namespace

void PsdBytes::u16(unsigned value) {
  u8(value >> 8);
  u8(value);
}

void PsdBytes::u32(std::uint32_t value) {
  u16(value >> 16);
  u16(value & 0xFFFFu);
}

void PsdBytes::append(const void *data, std::size_t size) {
  const auto *bytes = static_cast<const std::uint8_t *>(data);
  bytes_.insert(bytes_.end(), bytes, bytes + size);
}

void PsdBytes::set_u32(std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

PsdBytes psd_header(int width, int height, int depth) {
  PsdBytes header;
  header.append("8BPS", 4);
  header.u16(1); // version
  header.zeros(6);
  header.u16(psd_layer_channels);
  header.u32(static_cast<std::uint32_t>(height));
  header.u32(static_cast<std::uint32_t>(width));
  header.u16(static_cast<unsigned>(depth)); // bits per channel
  header.u16(3);                            // RGB
  header.u32(0);                            // no colour-mode data
  return header;
}

PsdBytes psd_merged_only_start(int width, int height, int depth) {
  PsdBytes start = psd_header(width, height, depth);
  start.u32(0); // no image resources
  start.u32(0); // no layer and mask information
  return start;
}

PsdBytes psd_resources(double horizontal_dpi, double vertical_dpi, const QByteArray &icc_profile) {
  PsdBytes blocks;
  const PsdBytes resolution = resolution_info(horizontal_dpi, vertical_dpi);
  put_resource(blocks, resolution_info_id, resolution.data(), resolution.size());
  if (!icc_profile.isEmpty())
    put_resource(blocks, icc_profile_id, icc_profile.constData(),
                 static_cast<std::size_t>(icc_profile.size()));
  PsdBytes section;
  section.u32(static_cast<std::uint32_t>(blocks.size()));
  section.append(blocks.data(), blocks.size());
  return section;
}

PsdLayerStart psd_layer_start(int width, int height, const QString &name) {
  PsdLayerStart start;
  PsdBytes &out = start.bytes;
  out.u32(0);       // section length
  out.u32(0);       // layer info length
  out.u16(0xFFFFu); // one layer, -1: the merged image's fourth channel is its transparency
  // top, left, bottom, right
  for (const int edge : {0, 0, height, width})
    out.u32(static_cast<std::uint32_t>(edge));
  out.u16(psd_layer_channels);
  for (int i = 0; i < psd_layer_channels; ++i) {
    const int channel = psd_layer_channel_order[i];
    out.u16(channel == 3 ? 0xFFFFu : static_cast<unsigned>(channel)); // -1 for transparency
    start.channel_length_at[i] = out.size();
    out.u32(0);
  }
  out.append("8BIMnorm", 8);
  out.u8(255); // opacity
  out.u8(0);   // clipping: base
  out.u8(0);   // flags: visible
  out.u8(0);   // filler
  const PsdBytes extra = extra_data(name);
  out.u32(static_cast<std::uint32_t>(extra.size()));
  out.append(extra.data(), extra.size());
  return start;
}

void PsdLayerStart::set_lengths(const std::int64_t (&channel_lengths)[psd_layer_channels]) {
  std::int64_t channel_data = 0;
  for (int i = 0; i < psd_layer_channels; ++i) {
    bytes.set_u32(channel_length_at[i], static_cast<std::uint32_t>(channel_lengths[i]));
    channel_data += channel_lengths[i];
  }
  const std::int64_t layer_info = padded_layer_info(channel_data);
  bytes.set_u32(4, static_cast<std::uint32_t>(layer_info));
  bytes.set_u32(0, static_cast<std::uint32_t>(4 + layer_info + 4));
}

std::int64_t PsdLayerStart::padded_layer_info(std::int64_t channel_data) const {
  const std::int64_t layer_info = static_cast<std::int64_t>(bytes.size()) - 8 + channel_data;
  return layer_info + layer_info % 2;
}

PsdBytes PsdLayerStart::tail(std::int64_t channel_data) const {
  PsdBytes tail;
  tail.zeros(
      static_cast<std::size_t>(padded_layer_info(channel_data) -
                               (static_cast<std::int64_t>(bytes.size()) - 8 + channel_data)));
  tail.u32(0); // empty global layer mask
  return tail;
}

PsdBytes psd_channel_start(bool rle, const std::vector<const std::vector<std::int64_t> *> &planes) {
  PsdBytes start;
  start.u16(rle ? 1 : 0);
  for (const std::vector<std::int64_t> *offsets : planes)
    for (std::size_t y = 1; rle && y < offsets->size(); ++y)
      start.u16(static_cast<unsigned>((*offsets)[y] - (*offsets)[y - 1]));
  return start;
}

} // namespace lumbrix
