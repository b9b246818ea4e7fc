// Times the previews of the preferences dialog (stages with a frame and a text watermark, fitted
// to 280 x 280) for pictures of several sizes: the first, which reads the picture, and those
// after it. Median of three. Run with
// QT_QPA_PLATFORM=offscreen where there is no display.
// Usage: preview_bench

#include "engine/settings/settings.h"
#include "prefs/preview_render.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

namespace {

using namespace lumbrix;

constexpr int runs = 3;
constexpr QSize preview_box(280, 280);

QString gradient_png(const QTemporaryDir &dir, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
    for (int x = 0; x < width; ++x)
      line[x] = qRgb(x * 255 / width, y * 255 / height, 128);
  }
  const QString path = dir.filePath(QStringLiteral("%1x%2.png").arg(width).arg(height));
  image.save(path);
  return path;
}

template <typename Work> double seconds_for(Work work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void check(const QImage &picture) {
  if (picture.isNull()) {
    std::fprintf(stderr, "preview failed\n");
    std::exit(1);
  }
}

// The first preview reads the picture; those after it, as values change, reuse what was read.
std::pair<double, double> seconds_for_previews(const QString &path, const Settings &s) {
  std::array<double, runs> first{};
  std::array<double, runs> later{};
  for (int run = 0; run < runs; ++run) {
    first[run] = seconds_for([&] { check(PreviewSource(path).render(s, preview_box)); });
    const PreviewSource source(path);
    later[run] = seconds_for([&] { check(source.render(s, preview_box)); });
  }
  std::sort(first.begin(), first.end());
  std::sort(later.begin(), later.end());
  return {first[runs / 2], later[runs / 2]};
}

} // namespace

int main(int argc, char **argv) {
  QGuiApplication application(argc, argv); // the text watermark is drawn with Qt's fonts
  Settings s = default_settings(SettingsUse::Window);
  s.do_frame = FrameKind::Solid;
  s.solid_left = s.solid_right = s.solid_top = s.solid_bottom = 12;
  s.do_watermark = WatermarkKind::Text;

  const QTemporaryDir dir;
  std::printf("Preview with a frame and a text watermark, seconds, median of %d\n\n", runs);
  std::printf("| Picture     | First preview | Later previews |\n"
              "|-------------|---------------|----------------|\n");
  for (const auto &[width, height] :
       {std::pair{640, 480}, std::pair{1600, 1200}, std::pair{4000, 3000}, std::pair{8000, 6000}}) {
    const auto [first, later] = seconds_for_previews(gradient_png(dir, width, height), s);
    std::printf("| %4d x %4d | %13.3f | %14.3f |\n", width, height, first, later);
  }
  return 0;
}
