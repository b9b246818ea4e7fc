#include "engine/pipeline.h"

#include "engine/naming.h"
#include "engine/png_loader.h"
#include "engine/psd_writer.h"
#include "engine/tone_map.h"
#include "platform/console.h"
#include "platform/files.h"
#include "platform/temp_file.h"

#include <QDateTime>

namespace lumbrix {
namespace {

const QString temp_prefix = QStringLiteral("Lumbrix");

void notify(StepObserver observer, const char *step) {
  if (observer)
    observer(step);
}

// The writer widens 24-bit pixels to opaque 32-bit ones as it copies them, byte for byte as
// FreeImage's conversion does; converting first would only add a full copy of the picture.
Image output_depth(Image image, int depth, const QString &extension) {
  if (depth != 32 || image_bpp(image) != 24 || FreeImage_GetImageType(image.get()) != FIT_BITMAP)
    return output_depth_stage(std::move(image), depth, extension);
  return image;
}

// Writes the PSD to a temporary file in folder and puts it in place under name: an earlier file
// of that name stays until then, and a failure leaves no temporary file. The reason it failed,
// or an empty text.
QString save(Image image, const ConversionRequest &request, const InputFile &file,
             const QString &folder, const QString &name) {
  const bool subfolders = request.settings.keep_subfolders != 0;
  if (subfolders && !create_folders(request.output_folder, file.relative_subfolder))
    return QStringLiteral("The folder %1 cannot be created").arg(folder);
  // A mask that names the input itself would replace the picture being converted.
  if (is_same_file(folder + name, file.path))
    return QStringLiteral("The output name is the input file's own");
  TempFile temporary = TempFile::create(folder, temp_prefix, request.output_extension);
  if (!temporary.is_open())
    return QStringLiteral("No file can be created in %1").arg(folder);
  notify(request.step_observer, "naming");
  if (!write_psd(std::move(image), temporary.descriptor(), request.step_observer))
    return QStringLiteral("The PSD could not be written in full in %1").arg(folder);
  if (!temporary.commit(name))
    return QStringLiteral("The PSD could not be put in place as %1").arg(folder + name);
  notify(request.step_observer, "rename");
  return QString();
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
  image = tone_map_stage(std::move(image));
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
  FileResult result;
  Image image = load_png(file.path, &result.reason);
  notify(request.step_observer, "load");
  if (!image)
    return result;
  const int asked = requested_depth(request);
  const int depth =
      asked != 0 ? asked : automatic_depth(request.output_extension, image_bpp(image));
  TokenValues values{file.path,         request.output_extension,    depth, 0, 0, counters.random,
                     counters.sequence, QDateTime::currentDateTime()};
  const WatermarkFont *font = request.watermark_font ? &*request.watermark_font : nullptr;
  image = run_stages(std::move(image), {request.settings, font, values}, request.step_observer);
  if (!image) {
    result.reason = QStringLiteral("The picture could not be transformed as the settings ask");
    return result;
  }
  values.width = image_width(image);
  values.height = image_height(image);
  values.now = QDateTime::currentDateTime();
  const QString folder =
      output_folder_of(request.output_folder, file.relative_subfolder, request.settings);
  const QString name = build_file_name(request.settings.filename_mask, values);
  result.output_path = folder + name;
  result.reason = output_name_problem(name);
  if (result.reason.isEmpty())
    result.reason = save(std::move(image), request, file, folder, name);
  result.converted = result.reason.isEmpty();
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

} // namespace lumbrix
