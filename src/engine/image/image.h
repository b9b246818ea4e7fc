#pragma once

#include <FreeImage.h>

#include <memory>

namespace lumbrix {

struct ImageDeleter {
  void operator()(FIBITMAP *bitmap) const {
    if (bitmap)
      FreeImage_Unload(bitmap);
  }
};

// A FreeImage bitmap with one owner. Stages take an Image and return the one to continue with:
// a stage that replaces the picture releases the old one simply by letting it go, and an empty
// Image passes through every stage untouched.
using Image = std::unique_ptr<FIBITMAP, ImageDeleter>;

inline int image_width(const Image &image) {
  return image ? static_cast<int>(FreeImage_GetWidth(image.get())) : 0;
}
inline int image_height(const Image &image) {
  return image ? static_cast<int>(FreeImage_GetHeight(image.get())) : 0;
}
inline int image_bpp(const Image &image) {
  return image ? static_cast<int>(FreeImage_GetBPP(image.get())) : 0;
}

} // namespace lumbrix
