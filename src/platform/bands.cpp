#include "platform/bands.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace lumbrix {

int core_count() {
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

void for_each_run(int lines, int threads, int run_lines,
                  const std::function<void(int first, int count)> &work) {
  if (lines <= 0)
    return;
  run_lines = std::max(run_lines, 1);
  const int runs = lines / run_lines + (lines % run_lines != 0);
  threads = std::clamp(threads, 1, runs);
  std::atomic<int> next = 0;
  const auto take_runs = [&] {
    for (int run = next++; run < runs; run = next++) {
      const int first = run * run_lines;
      work(first, std::min(run_lines, lines - first));
    }
  };
  std::vector<std::jthread> helpers;
  for (int helper = 1; helper < threads; ++helper) {
    try {
      helpers.emplace_back(take_runs);
    } catch (const std::system_error &) {
      break;
    }
  }
  take_runs();
}

} // namespace lumbrix
