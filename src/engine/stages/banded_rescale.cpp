#include "engine/stages/banded_rescale.h"

#include "platform/bands.h"

#include <atomic>
#include <cstring>

namespace lumbrix {
namespace {

// A header over a rectangle of another bitmap's pixels; nothing is copied. Rows are counted
// from the bottom, as FreeImage stores them.
Image view_of(FIBITMAP *image, int left, int bottom, int width, int height) {
  const unsigned bpp = FreeImage_GetBPP(image);
  BYTE *bits = FreeImage_GetScanLine(image, bottom) + static_cast<std::size_t>(left) * (bpp / 8);
  return Image{FreeImage_ConvertFromRawBitsEx(
      FALSE, bits, FIT_BITMAP, width, height, static_cast<int>(FreeImage_GetPitch(image)), bpp,
      FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE)};
}

// Copies part into target with its bottom-left pixel at (left, bottom).
void place(FIBITMAP *part, FIBITMAP *target, int left, int bottom) {
  const std::size_t pixel = FreeImage_GetBPP(part) / 8;
  const std::size_t bytes = FreeImage_GetWidth(part) * pixel;
  const int rows = static_cast<int>(FreeImage_GetHeight(part));
  for (int y = 0; y < rows; ++y)
    std::memcpy(FreeImage_GetScanLine(target, bottom + y) + left * pixel,
                FreeImage_GetScanLine(part, y), bytes);
}

// One pass in one direction: rows keep their number (horizontal) or columns keep theirs
// (vertical). Every band is rescaled by FreeImage on one of the threads and copied into place.
Image one_pass(FIBITMAP *source, int width, int height, FREE_IMAGE_FILTER filter,
               const Banding &banding) {
  const int source_width = static_cast<int>(FreeImage_GetWidth(source));
  const int source_height = static_cast<int>(FreeImage_GetHeight(source));
  const bool horizontal = height == source_height;
  Image target{FreeImage_Allocate(width, height, static_cast<int>(FreeImage_GetBPP(source)),
                                  FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK)};
  if (!target)
    return target;
  const int lines = horizontal ? height : width;
  std::atomic<bool> failed = false;
  for_each_run(lines, banding.threads, banding.band_lines, [&](int first, int count) {
    const Image view = horizontal ? view_of(source, 0, first, source_width, count)
                                  : view_of(source, first, 0, count, source_height);
    const Image part{!view        ? nullptr
                     : horizontal ? FreeImage_Rescale(view.get(), width, count, filter)
                                  : FreeImage_Rescale(view.get(), count, height, filter)};
    if (part)
      place(part.get(), target.get(), horizontal ? 0 : first, horizontal ? first : 0);
    else
      failed = true;
  });
  if (failed)
    target.reset();
  return target;
}

} // namespace

Image banded_rescale(FIBITMAP *image, int width, int height, FREE_IMAGE_FILTER filter,
                     Banding banding) {
  if (banding.threads <= 0)
    banding.threads = core_count();
  const unsigned bpp = FreeImage_GetBPP(image);
  const int source_width = static_cast<int>(FreeImage_GetWidth(image));
  const int source_height = static_cast<int>(FreeImage_GetHeight(image));
  const bool banded = FreeImage_GetImageType(image) == FIT_BITMAP && (bpp == 24 || bpp == 32) &&
                      banding.threads > 1 && (width != source_width || height != source_height);
  if (!banded)
    return Image{FreeImage_Rescale(image, width, height, filter)};
  // FreeImage's order: across first unless the picture gets wider, then down.
  Image result;
  if (width <= source_width) {
    if (width != source_width)
      result = one_pass(image, width, source_height, filter, banding);
    if (height != source_height && (result || width == source_width))
      result = one_pass(result ? result.get() : image, width, height, filter, banding);
  } else {
    if (height != source_height)
      result = one_pass(image, source_width, height, filter, banding);
    if (result || height == source_height)
      result = one_pass(result ? result.get() : image, width, height, filter, banding);
  }
  if (result)
    FreeImage_CloneMetadata(result.get(), image);
  return result;
}

} // namespace lumbrix
