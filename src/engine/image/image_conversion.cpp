#include "engine/image/image_conversion.h"

namespace lumbrix {

Image convert_image(Image image, Conversion convert) {
  if (!image)
    return image;
  Image result{convert(image.get())};
  if (!result && FreeImage_GetImageType(image.get()) == FIT_UINT16) {
    const Image grey{FreeImage_ConvertTo8Bits(image.get())};
    if (grey)
      result.reset(convert(grey.get()));
  }
  return result;
}

} // namespace lumbrix
