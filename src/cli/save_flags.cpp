#include "cli/keywords.h"
#include "engine/settings/settings.h"

#include <FreeImage.h>

#include <initializer_list>

namespace lumbrix {
namespace {

// A setting's stored value mapped to the writer's flag; a value not listed adds nothing, so a
// keyword meant for another format (LZW for BMP) falls back to the writer's default.
int flag_for(int value, std::initializer_list<int> flags) {
  if (value < 0 || value >= static_cast<int>(flags.size()))
    return 0;
  return *(flags.begin() + value);
}

int jpeg_flags(const Settings &s) {
  // The quality sits in the low bits; anything outside 1..100 (a hand-edited file) would set
  // unrelated flag bits, so it adds nothing and the writer uses its default quality.
  const int quality = s.jpg_quality >= 1 && s.jpg_quality <= 100 ? s.jpg_quality : 0;
  const int chroma = flag_for(s.jpg_chroma, {JPEG_SUBSAMPLING_444, JPEG_SUBSAMPLING_422,
                                             JPEG_SUBSAMPLING_420, JPEG_SUBSAMPLING_411});
  const int save_as = flag_for(s.jpg_save_as, {0, JPEG_BASELINE, JPEG_OPTIMIZE, JPEG_PROGRESSIVE});
  return quality | chroma | save_as;
}

int png_flags(const Settings &s) {
  const int compression =
      flag_for(s.png_compression, {PNG_Z_NO_COMPRESSION, PNG_Z_BEST_SPEED,
                                   PNG_Z_DEFAULT_COMPRESSION, PNG_Z_BEST_COMPRESSION});
  return compression | (s.png_interlaced != 0 ? PNG_INTERLACED : 0);
}

int tiff_flags(const Settings &s) {
  const int compression = flag_for(
      s.tiff_compression, {TIFF_NONE, TIFF_CCITTFAX3, TIFF_CCITTFAX4, TIFF_PACKBITS, TIFF_DEFLATE,
                           TIFF_ADOBE_DEFLATE, TIFF_LZW, TIFF_JPEG, TIFF_LOGLUV});
  constexpr int cmyk_model = 1;
  return compression | (s.tiff_color_model == cmyk_model ? TIFF_CMYK : 0);
}

} // namespace

int save_flags(const Settings &s, const QString &extension) {
  if (extension == QLatin1String("bmp"))
    return flag_for(s.bmp_compression, {0, BMP_SAVE_RLE});
  if (extension == QLatin1String("exr"))
    return flag_for(s.exr_compression, {EXR_NONE, EXR_ZIP, EXR_PIZ, EXR_PXR24, EXR_B44});
  if (extension == QLatin1String("jpg"))
    return jpeg_flags(s);
  if (extension == QLatin1String("jxr"))
    return JXR_LOSSLESS;
  if (extension == QLatin1String("png"))
    return png_flags(s);
  if (extension == QLatin1String("tga"))
    return flag_for(s.tga_compression, {0, TARGA_SAVE_RLE});
  if (extension == QLatin1String("tiff"))
    return tiff_flags(s);
  if (extension == QLatin1String("webp"))
    return WEBP_LOSSLESS;
  // Every other writer, PSD included, takes no flags.
  return 0;
}

} // namespace lumbrix
