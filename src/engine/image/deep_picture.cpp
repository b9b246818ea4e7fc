#include "engine/image/deep_picture.h"

#include "engine/image/image_conversion.h"

#include <cstdint>

namespace lumbrix {
namespace {

constexpr std::uint8_t narrowed(WORD level) {
  return static_cast<std::uint8_t>((level + 128) / 257);
}

template <typename Deep> constexpr bool has_alpha = sizeof(Deep) == sizeof(FIRGBA16);

template <typename Deep> Deep deep_pixel(const BYTE *p) {
  Deep deep{};
  deep.red = widened(p[FI_RGBA_RED]);
  deep.green = widened(p[FI_RGBA_GREEN]);
  deep.blue = widened(p[FI_RGBA_BLUE]);
  if constexpr (has_alpha<Deep>)
    deep.alpha = widened(p[FI_RGBA_ALPHA]);
  return deep;
}

template <typename Deep> void narrow_pixel(const Deep &deep, BYTE *p) {
  p[FI_RGBA_RED] = narrowed(deep.red);
  p[FI_RGBA_GREEN] = narrowed(deep.green);
  p[FI_RGBA_BLUE] = narrowed(deep.blue);
  if constexpr (has_alpha<Deep>)
    p[FI_RGBA_ALPHA] = narrowed(deep.alpha);
}

template <typename Deep> Deep *deep_scanline(FIBITMAP *image, int row) {
  return reinterpret_cast<Deep *>(FreeImage_GetScanLine(image, row));
}

template <typename Deep> Image widened_as(FIBITMAP *image, FREE_IMAGE_TYPE type) {
  const int width = static_cast<int>(FreeImage_GetWidth(image));
  const int height = static_cast<int>(FreeImage_GetHeight(image));
  Image deep{FreeImage_AllocateT(type, width, height)};
  if (!deep)
    return deep;
  for (int y = 0; y < height; ++y) {
    const BYTE *source = FreeImage_GetScanLine(image, y);
    Deep *target = deep_scanline<Deep>(deep.get(), y);
    for (int x = 0; x < width; ++x, source += sizeof(Deep) / 2)
      target[x] = deep_pixel<Deep>(source);
  }
  return deep;
}

template <typename Deep> Image narrowed_as(FIBITMAP *deep) {
  const int width = static_cast<int>(FreeImage_GetWidth(deep));
  const int height = static_cast<int>(FreeImage_GetHeight(deep));
  Image narrow{FreeImage_Allocate(width, height, sizeof(Deep) * 4, FI_RGBA_RED_MASK,
                                  FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK)};
  if (!narrow)
    return narrow;
  for (int y = 0; y < height; ++y) {
    const Deep *source = deep_scanline<Deep>(deep, y);
    BYTE *target = FreeImage_GetScanLine(narrow.get(), y);
    for (int x = 0; x < width; ++x, target += sizeof(Deep) / 2)
      narrow_pixel(source[x], target);
  }
  return narrow;
}

Image widen_bitmap(Image image) {
  const Image rgba = convert_image(std::move(image), FreeImage_ConvertTo32Bits);
  return rgba ? widened_copy(rgba.get()) : Image{};
}

} // namespace

Image widened_copy(FIBITMAP *image) {
  if (FreeImage_GetBPP(image) == 32)
    return widened_as<FIRGBA16>(image, FIT_RGBA16);
  return widened_as<FIRGB16>(image, FIT_RGB16);
}

Image narrowed_copy(FIBITMAP *deep) {
  if (FreeImage_GetImageType(deep) == FIT_RGBA16)
    return narrowed_as<FIRGBA16>(deep);
  return narrowed_as<FIRGB16>(deep);
}

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
