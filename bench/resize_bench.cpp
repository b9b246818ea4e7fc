// Times resize_stage on a 4000 x 3000 RGBA noise picture with every filter, median of three.
// Usage: resize_bench [target-width target-height]   (default 2000 1500)

#include "engine/settings/settings.h"
#include "engine/stages/stages.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

namespace {

using namespace lumbrix;

constexpr int source_width = 4000;
constexpr int source_height = 3000;
constexpr int runs = 3;

Image noise_image() {
  Image image{FreeImage_Allocate(source_width, source_height, 32)};
  std::mt19937 engine{12345};
  for (int y = 0; y < source_height; ++y) {
    auto *bits = reinterpret_cast<std::uint32_t *>(FreeImage_GetScanLine(image.get(), y));
    std::generate_n(bits, source_width, [&] { return static_cast<std::uint32_t>(engine()); });
  }
  return image;
}

double seconds_for_one_resize(const Image &source, const Settings &s) {
  Image copy{FreeImage_Clone(source.get())};
  const auto start = std::chrono::steady_clock::now();
  const Image result = resize_stage(std::move(copy), s, source_width, source_height);
  const auto stop = std::chrono::steady_clock::now();
  if (!result) {
    std::fprintf(stderr, "resize failed\n");
    std::exit(1);
  }
  return std::chrono::duration<double>(stop - start).count();
}

} // namespace

int main(int argc, char **argv) {
  Settings s = default_settings(SettingsUse::Window);
  s.do_image_resize = 1;
  s.keep_aspect_ratio = 0;
  s.image_width = argc > 2 ? std::atoi(argv[1]) : source_width / 2;
  s.image_height = argc > 2 ? std::atoi(argv[2]) : source_height / 2;

  const Image source = noise_image();
  const std::array<const char *, 6> names = {"BOX",     "BILINEAR",   "BSPLINE",
                                             "BICUBIC", "CATMULLROM", "LANCZOS"};
  std::printf("resize_stage %dx%d RGBA -> %dx%d, median of %d\n\n", source_width, source_height,
              s.image_width, s.image_height, runs);
  std::printf("| Filter     | Seconds |\n|------------|---------|\n");
  for (int algorithm = 0; algorithm < static_cast<int>(names.size()); ++algorithm) {
    s.image_resize_algorithm = static_cast<Byte>(algorithm);
    std::array<double, runs> times{};
    for (double &t : times)
      t = seconds_for_one_resize(source, s);
    std::sort(times.begin(), times.end());
    std::printf("| %-10s | %7.3f |\n", names[static_cast<size_t>(algorithm)], times[runs / 2]);
  }
  return 0;
}
