#include "engine/image/deep_picture.h"
#include "engine/image/image_conversion.h"
#include "engine/settings/format_catalogue.h"
#include "engine/stages/alpha_channel.h"
#include "engine/stages/deep_tone.h"
#include "engine/stages/stages.h"

#include <QStringList>

namespace lumbrix {
namespace {

bool is_deep(const Image &image) { return image_bpp(image) > 32; }

bool extension_in(const QString &extension, std::initializer_list<const char *> list) {
  for (const char *entry : list)
    if (extension == QLatin1String(entry))
      return true;
  return false;
}

FIBITMAP *quantize_256(FIBITMAP *image) {
  return FreeImage_ColorQuantizeEx(image, FIQ_WUQUANT, 256, 0, nullptr);
}

FIBITMAP *dither_floyd_steinberg(FIBITMAP *image) { return FreeImage_Dither(image, FID_FS); }

Image to_16_bits(Image image, const QString &extension) {
  if (is_deep(image))
    image = convert_image(std::move(image), FreeImage_ConvertTo24Bits);
  const bool five_five_five = extension_in(extension, {"ico", "tga"});
  return convert_image(std::move(image), five_five_five ? FreeImage_ConvertTo16Bits555
                                                        : FreeImage_ConvertTo16Bits565);
}

Image to_8_bits(Image image, const QString &extension) {
  if (extension_in(extension, {"j2k", "jp2", "jpg", "jxr"}))
    return convert_image(std::move(image), FreeImage_ConvertTo8Bits);
  if (image_bpp(image) != 24)
    image = convert_image(std::move(image), FreeImage_ConvertTo24Bits);
  return convert_image(std::move(image), quantize_256);
}

Image to_depth(Image image, int depth, const QString &extension) {
  switch (depth) {
  case deep_depth:
    return widen_to_deep(std::move(image));
  case 96:
    return convert_image(std::move(image), FreeImage_ConvertToRGBF);
  case 48:
    return convert_image(std::move(image), FreeImage_ConvertToRGB16);
  case 32:
    return convert_image(std::move(image), FreeImage_ConvertTo32Bits);
  case 24:
    return convert_image(std::move(image), FreeImage_ConvertTo24Bits);
  case 16:
    return to_16_bits(std::move(image), extension);
  case 8:
    return to_8_bits(std::move(image), extension);
  case 4:
    // FreeImage leaks the 4-bit bitmap it allocates for an input deeper than 32 bits, and
    // answers with a copy at the old depth, which fails below anyway.
    if (image_bpp(image) > 32)
      return {};
    return convert_image(std::move(image), FreeImage_ConvertTo4Bits);
  case 1:
    return convert_image(std::move(image), dither_floyd_steinberg);
  default:
    return {}; // no writer takes such a depth: the file fails rather than be written wrong
  }
}

} // namespace

Image color_correction_stage(Image image, const Settings &s) {
  if (!image || !s.do_image_color_correction)
    return image;
  if (is_deep_rgba(image)) {
    adjust_deep_colours(image.get(), static_cast<double>(s.image_brightness),
                        static_cast<double>(s.image_contrast), static_cast<double>(s.image_gamma),
                        s.image_invert != 0);
    return image;
  }
  const int bpp = image_bpp(image);
  // Colour adjustment works on 8- to 32-bit standard bitmaps only.
  if (bpp < 8 || bpp > 32 || FreeImage_GetImageType(image.get()) != FIT_BITMAP)
    image = convert_image(std::move(image), FreeImage_ConvertTo24Bits);
  if (image)
    FreeImage_AdjustColors(image.get(), static_cast<double>(s.image_brightness),
                           static_cast<double>(s.image_contrast),
                           static_cast<double>(s.image_gamma), s.image_invert ? TRUE : FALSE);
  return image;
}

Image greyscale_stage(Image image, const Settings &s) {
  if (!image || !s.do_image_greyscale)
    return image;
  if (is_deep_rgba(image)) {
    deep_greyscale(image.get());
    return image;
  }
  if (is_deep(image))
    image = convert_image(std::move(image), FreeImage_ConvertTo24Bits);
  return convert_keeping_alpha(std::move(image), FreeImage_ConvertToGreyscale);
}

Image threshold_stage(Image image, const Settings &s) {
  if (!image || !s.do_image_threshold)
    return image;
  if (is_deep_rgba(image)) {
    deep_threshold(image.get(), s.image_threshold & 0xFF);
    return image;
  }
  if (is_deep(image))
    image = convert_image(std::move(image), FreeImage_ConvertTo24Bits);
  if (!image)
    return image;
  const auto level = static_cast<BYTE>(s.image_threshold & 0xFF);
  return with_alpha_of(Image{FreeImage_Threshold(image.get(), level)}, image);
}

Image output_depth_stage(Image image, int depth, const QString &extension) {
  if (!image || depth == image_bpp(image))
    return image;
  Image result = to_depth(std::move(image), depth, extension);
  // Some conversions hand back a copy at the old depth for a type they do not handle.
  if (image_bpp(result) != depth)
    return {};
  return result;
}

// The first listed depth that holds the input, else the deepest. 16 bits per channel with alpha
// is only ever asked for by name, so files converted automatically stay as they always were. A
// format the catalogue lacks lists nothing and gives 0, which no conversion takes.
int automatic_depth(const QString &extension, int input_bpp) {
  QStringList depths = output_format(extension).bit_depths.split(QLatin1Char(','));
  if (depths.size() > 1)
    depths.removeAll(QString::number(deep_depth));
  for (const QString &depth : depths)
    if (depth.toInt() >= input_bpp)
      return depth.toInt();
  return depths.last().toInt();
}

} // namespace lumbrix
