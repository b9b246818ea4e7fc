#include "engine/image/deep_picture.h"

#include "engine/image/image_conversion.h"

namespace lumbrix {
namespace {

Image widen_bitmap(Image image) {
  const Image rgba = convert_image(std::move(image), FreeImage_ConvertTo32Bits);
  if (!rgba)
    return {};
  const int width = image_width(rgba);
  const int height = image_height(rgba);
  Image deep{FreeImage_AllocateT(FIT_RGBA16, width, height)};
  if (!deep)
    return deep;
  for (int y = 0; y < height; ++y) {
    const BYTE *source = FreeImage_GetScanLine(rgba.get(), y);
    FIRGBA16 *target = deep_row(deep.get(), y);
    for (int x = 0; x < width; ++x, source += 4)
      target[x] = {widened(source[FI_RGBA_RED]), widened(source[FI_RGBA_GREEN]),
                   widened(source[FI_RGBA_BLUE]), widened(source[FI_RGBA_ALPHA])};
  }
  return deep;
}

} // namespace

Image widen_to_deep(Image image) {
  if (!image || is_deep_rgba(image))
    return image;
  switch (FreeImage_GetImageType(image.get())) {
  case FIT_BITMAP:
    return widen_bitmap(std::move(image));
  case FIT_UINT16:
  case FIT_RGB16:
    return Image{FreeImage_ConvertToRGBA16(image.get())};
  default:
    return {};
  }
}

} // namespace lumbrix
