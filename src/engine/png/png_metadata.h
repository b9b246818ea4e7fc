#pragma once

#include <QByteArray>

struct png_struct_def;
struct png_info_def;

namespace lumbrix {

// What a PNG says about how its picture is meant to be shown, carried over into the PSD.
struct PngMetadata {
  double horizontal_dpi = 0; // 0 when the file gives no physical size
  double vertical_dpi = 0;
  QByteArray icc_profile; // decompressed; empty when none
};

// A larger embedded profile is left out; the picture converts without it. libpng refuses to
// inflate much more anyway.
inline constexpr qsizetype max_icc_profile_bytes = 4 << 20;

// Takes the pHYs and iCCP chunks that libpng read with the header.
void take_png_metadata(png_struct_def *png, png_info_def *info, PngMetadata &metadata);

} // namespace lumbrix
