#include "engine/run/pipeline.h"

#include "engine/image/deep_picture.h"
#include "engine/image/image_limits.h"
#include "engine/png/png_loader.h"
#include "engine/run/pack_while_loading.h"
#include "engine/settings/naming.h"
#include "engine/stages/tone_map.h"
#include "platform/console.h"
#include "platform/files.h"

#include <QDateTime>

namespace lumbrix {
namespace {

// The writer widens 24-bit pixels to opaque 32-bit ones as it copies them, byte for byte as
// FreeImage's conversion does; converting first would only add a full copy of the picture.
Image output_depth(Image image, int depth, const QString &extension) {
  if (depth != 32 || image_bpp(image) != 24 || FreeImage_GetImageType(image.get()) != FIT_BITMAP)
    return output_depth_stage(std::move(image), depth, extension);
  return image;
}

QString resize_failure(const Settings &s, int width, int height) {
  const QSize target = resize_target(s, width, height).value_or(QSize(width, height));
  const QString limit = size_limit_reason(target.width(), target.height());
  return limit.isEmpty() ? QStringLiteral("resizing failed") : QStringLiteral("resized ") + limit;
}

// Follows the stages: the first that leaves no picture names the failure, and a monitor that
// says stop ends the work there.
class StageRun {
public:
  StageRun(const StepMonitor &monitor, QString *reason) : monitor_(monitor), reason_(reason) {}

  bool done(const Image &image, const char *step, const QString &failure) {
    if (!image) {
      if (reason_)
        *reason_ = failure;
      return false;
    }
    return !monitor_ || monitor_(step);
  }

private:
  const StepMonitor &monitor_;
  QString *reason_;
};

// Custom Timestamp counts seconds of the local wall clock since 1970.
qint64 local_seconds_to_time(qint64 local_seconds) {
  const QDateTime wall = QDateTime::fromSecsSinceEpoch(local_seconds, Qt::UTC);
  return QDateTime(wall.date(), wall.time(), Qt::LocalTime).toSecsSinceEpoch();
}

// Loading is the first three tenths of a file, the stages the next three, writing the rest.
constexpr int loaded_permille = 300;
constexpr int stage_permille = 30;
constexpr int staged_permille = 600;

void report(const FileProgress &progress, int permille) {
  if (progress.report)
    progress.report(permille);
}

bool keep_running(const FileProgress &progress) {
  return !progress.keep_running || progress.keep_running();
}

PreparedFile failed(QString reason) {
  PreparedFile prepared;
  prepared.result = {FileStatus::Failed, QString(), std::move(reason)};
  return prepared;
}

// An empty reason means the work was stopped rather than failed.
PreparedFile ended(const QString &reason) {
  return reason.isEmpty() ? PreparedFile{} : failed(reason);
}

PackWhileLoading::Plan load_plan(const ConversionRequest &request, const InputFile &file) {
  const Settings &s = request.settings;
  return {stages_keep_pixels(s), requested_depth(request), psd_layout(s), psd_compression(s),
          file.path};
}

} // namespace

Image run_stages(Image image, const StageContext &context, const StepMonitor &monitor,
                 QString *reason) {
  const Settings &s = context.settings;
  StageRun run(monitor, reason);
  // A 64-bit file is worked on in 16-bit samples from the start, and never tone-mapped.
  const bool deep = context.file.bpp == deep_depth;
  if (deep) {
    image = widen_to_deep(std::move(image));
    if (!run.done(image, "widen", QStringLiteral("no conversion to 64 bits")))
      return {};
  }
  image = rotate_stage(std::move(image), s, deep);
  if (!run.done(image, "rotate", QStringLiteral("rotation failed")))
    return {};
  const int loaded_width = image_width(image);
  const int loaded_height = image_height(image);
  image = resize_stage(std::move(image), s, loaded_width, loaded_height);
  if (!run.done(image, "resize", resize_failure(s, loaded_width, loaded_height)))
    return {};
  const int width = image_width(image);
  const int height = image_height(image);
  // Widening took the tone map's step.
  if (!deep) {
    image = tone_map_stage(std::move(image));
    if (!run.done(image, "tone map", QStringLiteral("tone mapping failed")))
      return {};
  }
  flip_stage(image.get(), s);
  if (!run.done(image, "flip", QString()))
    return {};
  image = color_correction_stage(std::move(image), s);
  if (!run.done(image, "colour correction", QStringLiteral("colour correction failed")))
    return {};
  image = greyscale_stage(std::move(image), s);
  if (!run.done(image, "greyscale", QStringLiteral("greyscale conversion failed")))
    return {};
  image = threshold_stage(std::move(image), s);
  if (!run.done(image, "threshold", QStringLiteral("threshold failed")))
    return {};
  image = frame_stage(std::move(image), s, width, height);
  if (!run.done(image, "frame", QStringLiteral("drawing the frame failed")))
    return {};
  image = watermark_stage(std::move(image), context, width, height);
  if (!run.done(image, "watermark", QStringLiteral("drawing the watermark failed")))
    return {};
  const int depth = context.file.bpp;
  image = output_depth(std::move(image), depth, context.file.extension);
  const QString no_depth =
      QStringLiteral("no conversion to ") + QString::number(depth) + QStringLiteral(" bits");
  if (!run.done(image, "output depth", no_depth))
    return {};
  return image;
}

PreparedFile prepare_file(const ConversionRequest &request, const InputFile &file,
                          const NameCounters &counters, const FileProgress &progress) {
  if (!file.refusal.isEmpty())
    return failed(file.refusal);
  QString reason;
  PngMetadata metadata;
  PreparedFile prepared;
  PackWhileLoading::Plan plan = load_plan(request, file);
  // A merged-only file's places are known before the picture is: its rows go into the file as
  // they decode.
  if (plan.stages_keep_pixels && plan.layout == PsdLayout::merged_only) {
    if (!open_temporary(request, file, prepared.written, reason))
      return failed(reason);
    plan.descriptor = prepared.written.temporary.descriptor();
  }
  PackWhileLoading loading(
      [&progress](int permille) {
        report(progress, loaded_permille * permille / 1000);
        return keep_running(progress);
      },
      plan);
  Image image = load_png(file.path, &reason, &metadata, deep_output(request), &loading);
  BandsAhead ahead = loading.finish();
  notify_step(request.step_observer, "load");
  if (!image)
    return ended(reason);
  if (!keep_running(progress))
    return {};
  const int asked = requested_depth(request);
  const int depth =
      asked != 0 ? asked : automatic_depth(request.output_extension, image_bpp(image));
  prepared.values = {file.path,         request.output_extension,    depth, 0, 0, counters.random,
                     counters.sequence, QDateTime::currentDateTime()};
  const WatermarkFont *font = request.watermark_font ? &*request.watermark_font : nullptr;
  int steps_done = 0;
  const StepMonitor monitor = [&](const char *step) {
    notify_step(request.step_observer, step);
    report(progress, loaded_permille + stage_permille * ++steps_done);
    return keep_running(progress);
  };
  image = run_stages(std::move(image), {request.settings, font, prepared.values}, monitor, &reason);
  if (!image)
    return ended(reason);
  prepared.values.width = image_width(image);
  prepared.values.height = image_height(image);
  const WriteMonitor writing = [&progress](qint64 done, qint64 total) {
    report(progress, staged_permille +
                         static_cast<int>(total > 0 ? (1000 - staged_permille) * done / total : 0));
    return keep_running(progress);
  };
  if (!write_temporary(std::move(image), std::move(metadata), request, file, writing,
                       prepared.written, reason, std::move(ahead)))
    return ended(reason);
  prepared.result.status = FileStatus::Converted;
  return prepared;
}

FileResult commit_file(const ConversionRequest &request, std::size_t index, PreparedFile &prepared,
                       const NameCounters &counters, RunOutputs &outputs) {
  if (prepared.result.status != FileStatus::Converted)
    return prepared.result;
  const InputFile &file = request.files[index];
  FileResult &result = prepared.result;
  TokenValues &values = prepared.values;
  values.random = counters.random;
  values.sequence = counters.sequence;
  values.now = QDateTime::currentDateTime();
  const QString name = build_file_name(request.settings.filename_mask, values);
  result.output_path = prepared.written.folder + name;
  QString refused = output_name_problem(name);
  if (refused.isEmpty())
    refused = outputs.claim(result.output_path, index);
  if (!refused.isEmpty()) {
    discard_output(prepared.written);
    return {FileStatus::Failed, result.output_path, refused};
  }
  if (!commit_output(prepared.written, file, name, result.reason)) {
    result.status = FileStatus::Failed;
    return result;
  }
  notify_step(request.step_observer, "rename");
  return result;
}

FileResult convert_file(const ConversionRequest &request, const InputFile &file,
                        const NameCounters &counters, const FileProgress &progress) {
  ConversionRequest single = request;
  single.files = {file};
  PreparedFile prepared = prepare_file(single, file, counters, progress);
  RunOutputs outputs(single.files);
  return commit_file(single, 0, prepared, counters, outputs);
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

} // namespace lumbrix
