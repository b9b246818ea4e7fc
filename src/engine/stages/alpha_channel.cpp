#include "engine/stages/alpha_channel.h"

#include "engine/image/image_conversion.h"

namespace lumbrix {

bool has_alpha(const Image &image) {
  if (!image || FreeImage_GetImageType(image.get()) != FIT_BITMAP)
    return false;
  return image_bpp(image) == 32 ||
         (FreeImage_GetPalette(image.get()) && FreeImage_IsTransparent(image.get()));
}

Image with_alpha_of(Image colours, const Image &original) {
  if (!colours || !has_alpha(original) || image_width(colours) != image_width(original) ||
      image_height(colours) != image_height(original))
    return colours;
  Image result = convert_image(std::move(colours), FreeImage_ConvertTo32Bits);
  const Image widened =
      image_bpp(original) == 32 ? Image() : Image(FreeImage_ConvertTo32Bits(original.get()));
  FIBITMAP *alphas = widened ? widened.get() : original.get();
  if (!result || image_bpp(result) != 32 || FreeImage_GetBPP(alphas) != 32)
    return result;
  for (int y = 0; y < image_height(result); ++y) {
    const BYTE *source = FreeImage_GetScanLine(alphas, y);
    BYTE *target = FreeImage_GetScanLine(result.get(), y);
    for (int x = 0; x < image_width(result); ++x)
      target[4 * x + FI_RGBA_ALPHA] = source[4 * x + FI_RGBA_ALPHA];
  }
  return result;
}

Image convert_keeping_alpha(Image image, FIBITMAP *(*convert)(FIBITMAP *)) {
  if (!has_alpha(image))
    return convert_image(std::move(image), convert);
  Image colours{convert(image.get())};
  return with_alpha_of(std::move(colours), image);
}

} // namespace lumbrix
