#include "platform/bands.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

namespace lumbrix {

int core_count() {
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

void for_each_band(int lines, int bands, const std::function<void(int first, int count)> &work) {
  bands = std::clamp(bands, 1, std::max(lines, 1));
  const auto start = [&](int band) {
    return static_cast<int>(static_cast<long long>(lines) * band / bands);
  };
  const auto run = [&](int band) { work(start(band), start(band + 1) - start(band)); };
  std::vector<std::jthread> helpers;
  for (int band = 1; band < bands; ++band) {
    try {
      helpers.emplace_back(run, band);
    } catch (const std::system_error &) {
      run(band);
    }
  }
  run(0);
}

} // namespace lumbrix
