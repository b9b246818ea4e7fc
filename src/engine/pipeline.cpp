#include "engine/pipeline.h"

#include "engine/naming.h"
#include "engine/png_loader.h"
#include "engine/psd_writer.h"
#include "platform/console.h"
#include "platform/files.h"

#include <QDateTime>

#include <random>

namespace lumbrix {
namespace {

const QString temp_prefix = QStringLiteral("Lumbrix");

void notify(StepObserver observer, const char *step) {
  if (observer)
    observer(step);
}

// 16 bits per channel and floating point: anything that is not a plain 8-bit bitmap.
bool is_deep(FIBITMAP *image) {
  return FreeImage_GetImageType(image) != FIT_BITMAP || FreeImage_GetBPP(image) > 32;
}

// libpng's rounding of a 16-bit sample to 8 bits.
BYTE scale_16(WORD value) { return static_cast<BYTE>((value * 255u + 32895u) >> 16); }

// The tone mapping returns colour only; a picture with an alpha channel keeps its transparency.
Image with_alpha_of(Image colour, FIBITMAP *rgba16) {
  Image result(FreeImage_ConvertTo32Bits(colour.get()));
  colour.reset();
  if (!result)
    return result;
  const unsigned width = FreeImage_GetWidth(rgba16);
  for (unsigned y = 0; y < FreeImage_GetHeight(rgba16); ++y) {
    const auto *source = reinterpret_cast<const FIRGBA16 *>(FreeImage_GetScanLine(rgba16, y));
    BYTE *target = FreeImage_GetScanLine(result.get(), y);
    for (unsigned x = 0; x < width; ++x)
      target[4 * x + FI_RGBA_ALPHA] = scale_16(source[x].alpha);
  }
  return result;
}

Image tone_map(Image image) {
  if (!image || !is_deep(image.get()))
    return image;
  Image mapped(FreeImage_TmoDrago03(image.get(), 1.0, 0.0));
  if (mapped && FreeImage_GetImageType(image.get()) == FIT_RGBA16)
    return with_alpha_of(std::move(mapped), image.get());
  return mapped;
}

// The writer widens 24-bit pixels to opaque 32-bit ones as it copies them, byte for byte as
// FreeImage's conversion does; converting first would only add a full copy of the picture.
Image output_depth(Image image, int depth, const QString &extension) {
  if (depth != 32 || image_bpp(image) != 24 || FreeImage_GetImageType(image.get()) != FIT_BITMAP)
    return output_depth_stage(std::move(image), depth, extension);
  return image;
}

// The name is claimed by creating the file, so that runs side by side in one folder never
// share a temporary file. When nothing can be created there the loop ends and the write fails.
QString unused_temp_path(const QString &folder, const QString &extension) {
  QString path;
  do
    path = folder + make_temp_name(temp_prefix, QString()) + QLatin1Char('.') + extension;
  while (!create_new_file(path) && file_exists(path));
  return path;
}

// Writes the temporary file and puts it in place under output_path.
bool save(Image image, const ConversionRequest &request, const InputFile &file,
          const QString &output_path) {
  const bool subfolders = request.settings.keep_subfolders != 0;
  const QString folder = request.output_folder + (subfolders ? file.relative_subfolder : QString());
  if (subfolders && !create_folders(request.output_folder, file.relative_subfolder))
    return false;
  // A mask that names the input itself would replace the picture being converted.
  if (is_same_file(output_path, file.path))
    return false;
  const QString temporary_path = unused_temp_path(folder, request.output_extension);
  notify(request.step_observer, "naming");
  if (write_psd(std::move(image), temporary_path, request.step_observer) &&
      rename_file(temporary_path, output_path)) {
    notify(request.step_observer, "rename");
    return true;
  }
  delete_file(temporary_path);
  return false;
}

// Custom Timestamp counts seconds of the local wall clock since 1970.
qint64 local_seconds_to_time(qint64 local_seconds) {
  const QDateTime wall = QDateTime::fromSecsSinceEpoch(local_seconds, Qt::UTC);
  return QDateTime(wall.date(), wall.time(), Qt::LocalTime).toSecsSinceEpoch();
}

void apply_file_timestamp(const Settings &s, const QString &input, const QString &output) {
  qint64 seconds = 0;
  switch (s.file_timestamp) {
  case TimestampKind::Original:
    if (file_time(input, seconds))
      set_file_time(output, seconds);
    break;
  case TimestampKind::Custom:
    set_file_time(output, local_seconds_to_time(s.custom_timestamp));
    break;
  default:
    break;
  }
}

bool keep_running(ProgressRecord &progress) {
  const std::lock_guard lock(progress.mutex);
  return progress.keep_running;
}

void report_start(ProgressRecord &progress, int files_started, const QString &path) {
  const std::lock_guard lock(progress.mutex);
  progress.files_started = files_started;
  progress.current_file = path;
}

void report_end(ProgressRecord &progress, int files_converted) {
  const std::lock_guard lock(progress.mutex);
  progress.files_converted = files_converted;
}

} // namespace

Image run_stages(Image image, const StageContext &context, StepObserver observer) {
  const Settings &s = context.settings;
  image = rotate_stage(std::move(image), s);
  notify(observer, "rotate");
  image = resize_stage(std::move(image), s, image_width(image), image_height(image));
  notify(observer, "resize");
  const int width = image_width(image);
  const int height = image_height(image);
  image = tone_map(std::move(image));
  notify(observer, "tone map");
  if (image)
    flip_stage(image.get(), s);
  notify(observer, "flip");
  image = color_correction_stage(std::move(image), s);
  notify(observer, "colour correction");
  image = greyscale_stage(std::move(image), s);
  notify(observer, "greyscale");
  image = threshold_stage(std::move(image), s);
  notify(observer, "threshold");
  image = frame_stage(std::move(image), s, width, height);
  notify(observer, "frame");
  image = watermark_stage(std::move(image), context, width, height);
  notify(observer, "watermark");
  image = output_depth(std::move(image), context.file.bpp, context.file.extension);
  notify(observer, "output depth");
  return image;
}

FileResult convert_file(const ConversionRequest &request, const InputFile &file,
                        const NameCounters &counters) {
  Image image = load_png(file.path);
  notify(request.step_observer, "load");
  if (image_width(image) == 0 || image_height(image) == 0)
    return {};
  const int asked = requested_depth(request);
  const int depth =
      asked != 0 ? asked : automatic_depth(request.output_extension, image_bpp(image));
  TokenValues values{file.path,         request.output_extension,    depth, 0, 0, counters.random,
                     counters.sequence, QDateTime::currentDateTime()};
  const WatermarkFont *font = request.watermark_font ? &*request.watermark_font : nullptr;
  image = run_stages(std::move(image), {request.settings, font, values}, request.step_observer);
  if (!image)
    return {};
  values.width = image_width(image);
  values.height = image_height(image);
  values.now = QDateTime::currentDateTime();
  FileResult result;
  result.output_path =
      build_output_path(request.output_folder, file.relative_subfolder, request.settings, values);
  result.converted = save(std::move(image), request, file, result.output_path);
  return result;
}

RunResult run_conversion(const ConversionRequest &request, ProgressRecord &progress) {
  RunResult run{0, request.counters};
  int started = 0;
  for (const InputFile &file : request.files) {
    if (!keep_running(progress))
      break;
    report_start(progress, ++started, file.path);
    if (request.trace)
      console_line(QStringLiteral("Processing: ") + file.path);
    const FileResult result = convert_file(request, file, run.counters);
    if (request.trace) {
      console_line(QStringLiteral("Saving As: ") + result.output_path);
      console_line(result.converted ? QStringLiteral("OK") : QStringLiteral("Not OK"));
    }
    if (!result.converted)
      continue;
    ++run.files_converted;
    run.counters = next_name_counters(run.counters);
    apply_file_timestamp(request.settings, file.path, result.output_path);
  }
  report_end(progress, run.files_converted);
  return run;
}

QString make_temp_name(const QString &prefix, const QString &suffix) {
  thread_local std::mt19937 engine{std::random_device{}()};
  std::uniform_int_distribution<int> letter(0, 25);
  QString name = prefix;
  for (const QChar digit : QString::number(QDateTime::currentSecsSinceEpoch()))
    name += QLatin1Char(static_cast<char>('a' + digit.digitValue()));
  for (int i = 0; i < 5; ++i)
    name += QLatin1Char(static_cast<char>('a' + letter(engine)));
  return name + suffix;
}

} // namespace lumbrix
