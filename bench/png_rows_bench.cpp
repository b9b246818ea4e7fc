// The row reader against FreeImage's own PNG load, on the same bytes in memory, turn about.
// Prints the median of each in milliseconds of the thread's processor time, which other work on
// a busy machine disturbs less than the wall clock.
// Usage: png_rows_bench input.png [runs]   (default 7 runs)

#include "engine/png/png_rows.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using namespace lumbrix;

double cpu_ms() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

template <typename Load> double time_ms(Load load) {
  const double start = cpu_ms();
  const Image image = load();
  const double ms = cpu_ms() - start;
  if (!image)
    std::exit(1);
  return ms;
}

Image freeimage_load(QByteArray &bytes) {
  FIMEMORY *memory = FreeImage_OpenMemory(reinterpret_cast<BYTE *>(bytes.data()),
                                          static_cast<DWORD>(bytes.size()));
  Image image(FreeImage_LoadFromMemory(FIF_PNG, memory, PNG_IGNOREGAMMA));
  FreeImage_CloseMemory(memory);
  return image;
}

} // namespace

int main(int argc, char **argv) {
  if (argc < 2)
    return 2;
  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::ReadOnly))
    return 1;
  QByteArray bytes = file.readAll();
  const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
  std::vector<double> rows, whole;
  for (int run = 0; run < runs; ++run) {
    rows.push_back(time_ms([&] { return decode_png_rows(bytes, nullptr, nullptr); }));
    whole.push_back(time_ms([&] { return freeimage_load(bytes); }));
  }
  std::printf("rows %.1f ms, FreeImage %.1f ms (median of %d)\n", median(rows), median(whole),
              runs);
  return 0;
}
