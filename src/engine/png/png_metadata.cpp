#include "engine/png/png_metadata.h"

#include <png.h>

namespace lumbrix {
namespace {

constexpr double metres_per_inch = 0.0254;

// Only a size in metres is physical; other units give just the pixels' aspect ratio.
void take_resolution(png_structp png, png_infop info, PngMetadata &metadata) {
  png_uint_32 x = 0;
  png_uint_32 y = 0;
  int unit = PNG_RESOLUTION_UNKNOWN;
  if (png_get_pHYs(png, info, &x, &y, &unit) == 0 || unit != PNG_RESOLUTION_METER || x == 0 ||
      y == 0)
    return;
  metadata.horizontal_dpi = x * metres_per_inch;
  metadata.vertical_dpi = y * metres_per_inch;
}

void take_profile(png_structp png, png_infop info, PngMetadata &metadata) {
  png_charp name = nullptr;
  int compression = 0;
  png_bytep profile = nullptr;
  png_uint_32 length = 0;
  if (png_get_iCCP(png, info, &name, &compression, &profile, &length) == 0 || !profile ||
      length == 0 || length > static_cast<png_uint_32>(max_icc_profile_bytes))
    return;
  metadata.icc_profile =
      QByteArray(reinterpret_cast<const char *>(profile), static_cast<qsizetype>(length));
}

} // namespace

void take_png_metadata(png_struct_def *png, png_info_def *info, PngMetadata &metadata) {
  metadata = PngMetadata{};
  take_resolution(png, info, metadata);
  take_profile(png, info, metadata);
}

} // namespace lumbrix
