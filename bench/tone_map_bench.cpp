// Tone mapping of one 16-bit PNG, once per process so that the peak resident set (GNU time -v)
// belongs to it alone: "library" is FreeImage's operator, "banded" is tone_map_stage. Prints the
// seconds of the tone mapping step. "compare" runs both and prints how many colour bytes differ.
// Usage: tone_map_bench library|banded|compare input.png

#include "engine/png/png_loader.h"
#include "engine/stages/tone_map.h"

#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

using namespace lumbrix;

// The alpha is put back into a 32-bit copy, as the pipeline did; the copying of the alpha
// itself allocates nothing and is left out.
Image library_tone_map(Image image) {
  Image mapped(FreeImage_TmoDrago03(image.get(), 1.0, 0.0));
  if (!mapped || FreeImage_GetImageType(image.get()) != FIT_RGBA16)
    return mapped;
  return Image(FreeImage_ConvertTo32Bits(mapped.get()));
}

// Colour bytes only: the 32-bit result carries the alpha the library's result lacks.
long differing_bytes(FIBITMAP *a, FIBITMAP *b) {
  const unsigned step_a = FreeImage_GetBPP(a) / 8;
  const unsigned step_b = FreeImage_GetBPP(b) / 8;
  long differing = 0;
  for (unsigned y = 0; y < FreeImage_GetHeight(a); ++y) {
    const BYTE *row_a = FreeImage_GetScanLine(a, static_cast<int>(y));
    const BYTE *row_b = FreeImage_GetScanLine(b, static_cast<int>(y));
    for (unsigned x = 0; x < FreeImage_GetWidth(a); ++x)
      differing += std::memcmp(row_a + x * step_a, row_b + x * step_b, 3) != 0;
  }
  return differing;
}

int compare(Image image) {
  const Image expected(FreeImage_TmoDrago03(image.get(), 1.0, 0.0));
  const Image mapped = tone_map_stage(std::move(image));
  if (!expected || !mapped)
    return 1;
  std::printf("%ld of %u pixels differ\n", differing_bytes(mapped.get(), expected.get()),
              FreeImage_GetWidth(mapped.get()) * FreeImage_GetHeight(mapped.get()));
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3)
    return 2;
  Image image = load_png(QString::fromLocal8Bit(argv[2]));
  if (!image)
    return 1;
  if (std::strcmp(argv[1], "compare") == 0)
    return compare(std::move(image));
  const auto start = std::chrono::steady_clock::now();
  const Image mapped = std::strcmp(argv[1], "library") == 0 ? library_tone_map(std::move(image))
                                                            : tone_map_stage(std::move(image));
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n", took.count());
  return mapped ? 0 : 1;
}
