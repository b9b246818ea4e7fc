#include "engine/psd/srgb_profile.h"

#include "engine/psd/psd_format.h"

#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

namespace lumbrix {
namespace {

constexpr std::size_t header_size = 128;
constexpr std::size_t tag_entry_size = 12;
constexpr int curve_points = 1024;

struct Xyz {
  double x, y, z;
};

constexpr Xyz d50_white{0.9642, 1.0, 0.8249};
constexpr Xyz red_primary{0.4360747, 0.2225045, 0.0139322};
constexpr Xyz green_primary{0.3850649, 0.7168786, 0.0971045};
constexpr Xyz blue_primary{0.1430804, 0.0606169, 0.7141733};

std::uint32_t signature(std::string_view four) {
  return (std::uint32_t(std::uint8_t(four[0])) << 24) |
         (std::uint32_t(std::uint8_t(four[1])) << 16) |
         (std::uint32_t(std::uint8_t(four[2])) << 8) | std::uint32_t(std::uint8_t(four[3]));
}

void put_fixed(PsdBytes &bytes, double value) {
  bytes.u32(static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(value * 65536))));
}

void put_xyz(PsdBytes &bytes, const Xyz &xyz) {
  put_fixed(bytes, xyz.x);
  put_fixed(bytes, xyz.y);
  put_fixed(bytes, xyz.z);
}

PsdBytes xyz_tag(const Xyz &xyz) {
  PsdBytes tag;
  tag.u32(signature("XYZ "));
  tag.u32(0);
  put_xyz(tag, xyz);
  return tag;
}

// textDescriptionType: the ASCII name, no Unicode or ScriptCode name.
PsdBytes description_tag(std::string_view text) {
  PsdBytes tag;
  tag.u32(signature("desc"));
  tag.u32(0);
  tag.u32(static_cast<std::uint32_t>(text.size() + 1));
  tag.append(text.data(), text.size());
  tag.u8(0);
  tag.zeros(4 + 4 + 2 + 1 + 67);
  return tag;
}

PsdBytes text_tag(std::string_view text) {
  PsdBytes tag;
  tag.u32(signature("text"));
  tag.u32(0);
  tag.append(text.data(), text.size());
  tag.u8(0);
  return tag;
}

double srgb_to_linear(double encoded) {
  return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

PsdBytes curve_tag() {
  PsdBytes tag;
  tag.u32(signature("curv"));
  tag.u32(0);
  tag.u32(curve_points);
  for (int i = 0; i < curve_points; ++i)
    tag.u16(
        static_cast<unsigned>(std::lround(srgb_to_linear(i / double(curve_points - 1)) * 65535)));
  return tag;
}

struct Tag {
  std::string_view name;
  std::size_t data; // index into the tag data; tags may share it
};

void put_header(PsdBytes &bytes, std::size_t size) {
  bytes.u32(static_cast<std::uint32_t>(size));
  bytes.u32(0);          // preferred CMM
  bytes.u32(0x02100000); // version 2.1
  bytes.u32(signature("mntr"));
  bytes.u32(signature("RGB "));
  bytes.u32(signature("XYZ "));
  for (unsigned part : {2024u, 1u, 1u, 0u, 0u, 0u}) // creation date and time
    bytes.u16(part);
  bytes.u32(signature("acsp"));
  bytes.zeros(4 + 4 + 4 + 4 + 8); // platform, flags, manufacturer, model, attributes
  bytes.u32(0);                   // perceptual intent
  put_xyz(bytes, d50_white);      // the connection space's illuminant
  bytes.zeros(4 + 16 + 28);       // creator, ID, reserved
}

QByteArray build_profile() {
  const std::vector<PsdBytes> data = {description_tag("sRGB IEC61966-2.1"),
                                      text_tag("No copyright, use freely"),
                                      xyz_tag(d50_white),
                                      xyz_tag(red_primary),
                                      xyz_tag(green_primary),
                                      xyz_tag(blue_primary),
                                      curve_tag()};
  const Tag tags[] = {{"desc", 0}, {"cprt", 1}, {"wtpt", 2}, {"rXYZ", 3}, {"gXYZ", 4},
                      {"bXYZ", 5}, {"rTRC", 6}, {"gTRC", 6}, {"bTRC", 6}};
  std::vector<std::size_t> offsets;
  std::size_t end = header_size + 4 + std::size(tags) * tag_entry_size;
  for (const PsdBytes &tag : data) {
    offsets.push_back(end);
    end += (tag.size() + 3) / 4 * 4;
  }
  PsdBytes profile;
  put_header(profile, end);
  profile.u32(static_cast<std::uint32_t>(std::size(tags)));
  for (const Tag &tag : tags) {
    profile.u32(signature(tag.name));
    profile.u32(static_cast<std::uint32_t>(offsets[tag.data]));
    profile.u32(static_cast<std::uint32_t>(data[tag.data].size()));
  }
  for (const PsdBytes &tag : data) {
    profile.append(tag.data(), tag.size());
    profile.zeros((4 - tag.size() % 4) % 4);
  }
  return QByteArray(reinterpret_cast<const char *>(profile.data()),
                    static_cast<qsizetype>(profile.size()));
}

} // namespace

const QByteArray &srgb_profile() {
  static const QByteArray profile = build_profile();
  return profile;
}

} // namespace lumbrix
