#include "engine/stages/deep_tone.h"

#include "engine/image/deep_picture.h"

#include <functional>
#include <vector>

namespace lumbrix {
namespace {

using PixelWork = std::function<void(FIRGBA16 &)>;

void for_each_pixel(FIBITMAP *image, const PixelWork &work) {
  const auto width = static_cast<int>(FreeImage_GetWidth(image));
  const auto height = static_cast<int>(FreeImage_GetHeight(image));
  for (int y = 0; y < height; ++y) {
    FIRGBA16 *row = deep_row(image, y);
    for (int x = 0; x < width; ++x)
      work(row[x]);
  }
}

// The luma FreeImage's greyscale takes, in its single precision, of levels on the 8-bit scale.
float luma(const FIRGBA16 &pixel) {
  constexpr float step = 257.0F;
  return 0.2126F * (pixel.red / step) + 0.7152F * (pixel.green / step) +
         0.0722F * (pixel.blue / step);
}

} // namespace

void adjust_deep_colours(FIBITMAP *image, double brightness, double contrast, double gamma,
                         bool invert) {
  BYTE table[256];
  FreeImage_GetAdjustColorsLookupTable(table, brightness, contrast, gamma, invert ? TRUE : FALSE);
  // Level v lies rest / 257 of the way from the 8-bit level low to the next.
  std::vector<WORD> levels(65536);
  for (unsigned v = 0; v < levels.size(); ++v) {
    const unsigned low = v / 257;
    const int rest = static_cast<int>(v % 257);
    const int next = low < 255 ? table[low + 1] : table[low];
    levels[v] = static_cast<WORD>(table[low] * 257 + (next - table[low]) * rest);
  }
  for_each_pixel(image, [&levels](FIRGBA16 &p) {
    p.red = levels[p.red];
    p.green = levels[p.green];
    p.blue = levels[p.blue];
  });
}

void deep_greyscale(FIBITMAP *image) {
  for_each_pixel(image, [](FIRGBA16 &p) {
    const auto grey = static_cast<WORD>(luma(p) * 257.0F + 0.5F);
    p.red = p.green = p.blue = grey;
  });
}

void deep_threshold(FIBITMAP *image, int level) {
  // The 8-bit stage rounds the luma to a level and compares that.
  for_each_pixel(image, [level](FIRGBA16 &p) {
    const WORD value = static_cast<int>(luma(p) + 0.5F) >= level ? 65535 : 0;
    p.red = p.green = p.blue = value;
  });
}

} // namespace lumbrix
