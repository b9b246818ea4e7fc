// Times each step of one conversion with the console's default settings: load, every stage,
// naming, the PSD write and the rename. Prints a Markdown table of medians. With "full", also a
// resize to 2000 x 1500, a 40-pixel frame and a text watermark, as bench/run.sh gives them on the
// command line; with "flat", the PSD without layers (PSD Layers 0).
// Usage: stage_bench input.png output-folder [runs [full|flat]]   (default 5 runs)

#include "engine/run/pipeline.h"
#include "engine/settings/settings.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace lumbrix;
using Clock = std::chrono::steady_clock;

std::vector<std::pair<std::string, Clock::time_point>> marks;

void mark(const char *step) { marks.emplace_back(step, Clock::now()); }

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

ConversionRequest prepare(const char *input, const char *folder) {
  ConversionRequest request;
  request.files = {InputFile{QString::fromLocal8Bit(input), QString()}};
  request.output_folder = QString::fromLocal8Bit(folder) + QLatin1Char('/');
  request.output_extension = QStringLiteral("psd");
  request.settings = default_settings(SettingsUse::Console);
  request.step_observer = mark;
  return request;
}

void add_resize_frame_and_watermark(Settings &s) {
  s.do_image_resize = 1;
  s.image_width = 2000;
  s.image_height = 1500;
  s.do_frame = FrameKind::Solid;
  s.solid_left = s.solid_right = s.solid_top = s.solid_bottom = 40;
  s.do_watermark = WatermarkKind::Text;
  s.text = QStringLiteral("Lumbrix benchmark");
  s.font_size = 48;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: stage_bench input.png output-folder [runs]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  ConversionRequest request = prepare(argv[1], argv[2]);
  const std::string kind = argc > 4 ? argv[4] : "";
  if (kind == "full")
    add_resize_frame_and_watermark(request.settings);
  if (kind == "flat")
    request.settings.psd_layers = 0;
  if (check_request(request) != RequestProblem::None) {
    std::fprintf(stderr, "the request does not pass its checks (input, folder or font)\n");
    return 1;
  }
  std::vector<std::string> steps;
  std::vector<std::vector<double>> seconds;
  std::vector<double> totals;
  for (int run = 0; run < runs; ++run) {
    marks.clear();
    mark("start");
    if (convert_file(request, request.files.front(), request.counters).status !=
        FileStatus::Converted) {
      std::fprintf(stderr, "conversion failed after %s\n", marks.back().first.c_str());
      return 1;
    }
    if (steps.empty())
      for (std::size_t i = 1; i < marks.size(); ++i)
        steps.push_back(marks[i].first);
    seconds.resize(steps.size());
    for (std::size_t i = 1; i < marks.size() && i <= steps.size(); ++i)
      seconds[i - 1].push_back(
          std::chrono::duration<double>(marks[i].second - marks[i - 1].second).count());
    totals.push_back(std::chrono::duration<double>(marks.back().second - marks[0].second).count());
  }
  std::printf("| Step | Seconds (median of %d) |\n|---|---:|\n", runs);
  for (std::size_t i = 0; i < steps.size(); ++i)
    std::printf("| %s | %.3f |\n", steps[i].c_str(), median(seconds[i]));
  std::printf("| **total** | **%.3f** |\n", median(totals));
  return 0;
}
