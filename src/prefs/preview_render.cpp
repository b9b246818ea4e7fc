#include "prefs/preview_render.h"

#include "engine/png/png_loader.h"
#include "engine/run/pipeline.h"
#include "engine/settings/naming.h"
#include "engine/settings/settings_keys.h"
#include "engine/stages/watermark/watermark_font.h"
#include "platform/shipped_files.h"

#include <QDateTime>
#include <QFileInfo>

#include <cmath>
#include <cstring>

namespace lumbrix {
namespace {

Image within_pixel_limit(Image image) {
  const qint64 pixels = qint64(image_width(image)) * image_height(image);
  if (pixels <= preview_pixel_limit)
    return image;
  const double factor = std::sqrt(double(preview_pixel_limit) / double(pixels));
  const int width = std::max(1, int(image_width(image) * factor));
  const int height = std::max(1, int(image_height(image) * factor));
  Image smaller(FreeImage_Rescale(image.get(), width, height, FILTER_BILINEAR));
  return smaller ? std::move(smaller) : std::move(image);
}

// FreeImage keeps rows bottom-up in BGRA order, which is QImage's ARGB32 in memory.
QImage to_qimage(const Image &image) {
  const Image rgba(FreeImage_ConvertTo32Bits(image.get()));
  if (!rgba)
    return {};
  const int width = image_width(rgba);
  const int height = image_height(rgba);
  QImage result(width, height, QImage::Format_ARGB32);
  if (result.isNull())
    return {};
  for (int y = 0; y < height; ++y)
    std::memcpy(result.scanLine(height - 1 - y), FreeImage_GetScanLine(rgba.get(), unsigned(y)),
                std::size_t(width) * 4);
  return result;
}

} // namespace

PreviewSource::PreviewSource(const QString &path) : path_(path) {
  Image image = load_png(path);
  file_bpp_ = image_bpp(image);
  image_ = within_pixel_limit(std::move(image));
}

QImage PreviewSource::render(const Settings &s, QSize box) const {
  Image image(image_ ? FreeImage_Clone(image_.get()) : nullptr);
  if (!image)
    return {};
  const QString extension = s.output_format;
  const int asked = output_bpp_setting(s, extension);
  const int depth = asked != 0 ? asked : automatic_depth(extension, file_bpp_);
  const NameCounters counters;
  const TokenValues values{path_,
                           extension,
                           depth,
                           0,
                           0,
                           counters.random,
                           counters.sequence,
                           QDateTime::currentDateTime()};
  const std::optional<WatermarkFont> font = watermark_font(s);
  image = run_stages(std::move(image), {s, font ? &*font : nullptr, values});
  if (!image)
    return {};
  const QImage picture = to_qimage(image);
  if (picture.isNull() || picture.size() == picture.size().scaled(box, Qt::KeepAspectRatio))
    return picture;
  // Premultiplied, so that smoothing does not bleed the colour of transparent pixels.
  return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
      .scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QString sample_picture_path() {
  const QFileInfo sample(shipped_path(Shipped::data, QStringLiteral("samples/sample.png")));
  return sample.isFile() ? sample.canonicalFilePath() : QString();
}

} // namespace lumbrix
