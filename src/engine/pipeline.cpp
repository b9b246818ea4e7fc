#include "engine/pipeline.h"

#include "engine/naming.h"
#include "engine/png_loader.h"
#include "engine/psd_writer.h"
#include "engine/run_state.h"
#include "engine/settings.h"
#include "engine/stages.h"
#include "platform/console.h"
#include "platform/files.h"

#include <QDateTime>

#include <random>

namespace lumbrix {
namespace {

const QString temp_prefix = QStringLiteral("Lumbrix");

WriteStepObserver step_observer = nullptr;

void step_done(const char *step) {
  if (step_observer)
    step_observer(step);
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
Image output_depth(Image image) {
  RunState &state = run_state();
  const int depth = state.automatic_depth
                        ? automatic_depth(state.output_extension, state.input_bit_depth)
                        : state.output_bit_depth;
  if (depth != 32 || image_bpp(image) != 24 || FreeImage_GetImageType(image.get()) != FIT_BITMAP)
    return output_depth_stage(std::move(image));
  state.output_bit_depth = depth;
  return image;
}

Image transform(Image image) {
  image = rotate_stage(std::move(image));
  step_done("rotate");
  image = resize_stage(std::move(image), image_width(image), image_height(image));
  step_done("resize");
  const int width = image_width(image);
  const int height = image_height(image);
  image = tone_map(std::move(image));
  step_done("tone map");
  if (image)
    flip_stage(image.get());
  step_done("flip");
  image = color_correction_stage(std::move(image));
  step_done("colour correction");
  image = greyscale_stage(std::move(image));
  step_done("greyscale");
  image = threshold_stage(std::move(image));
  step_done("threshold");
  image = frame_stage(std::move(image), width, height);
  step_done("frame");
  image = watermark_stage(std::move(image), width, height);
  step_done("watermark");
  image = output_depth(std::move(image));
  step_done("output depth");
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

// Names the output, writes the temporary file and puts it in place.
bool save(Image image) {
  RunState &state = run_state();
  state.output_width = image_width(image);
  state.output_height = image_height(image);
  state.output_path = build_output_path();
  const bool subfolders = settings().keep_subfolders != 0;
  const QString folder = state.output_folder + (subfolders ? state.relative_subfolder : QString());
  if (subfolders && !create_folders(state.output_folder, state.relative_subfolder))
    return false;
  // A mask that names the input itself would replace the picture being converted.
  if (is_same_file(state.output_path, state.input_path))
    return false;
  state.temporary_path = unused_temp_path(folder, state.output_extension);
  step_done("naming");
  if (write_psd(std::move(image), state.temporary_path, step_observer) &&
      rename_file(state.temporary_path, state.output_path)) {
    step_done("rename");
    return true;
  }
  delete_file(state.temporary_path);
  return false;
}

// Custom Timestamp counts seconds of the local wall clock since 1970.
qint64 local_seconds_to_time(qint64 local_seconds) {
  const QDateTime wall = QDateTime::fromSecsSinceEpoch(local_seconds, Qt::UTC);
  return QDateTime(wall.date(), wall.time(), Qt::LocalTime).toSecsSinceEpoch();
}

void apply_file_timestamp(const RunState &state) {
  qint64 seconds = 0;
  switch (settings().file_timestamp) {
  case 1:
    if (file_time(state.input_path, seconds))
      set_file_time(state.output_path, seconds);
    break;
  case 2:
    set_file_time(state.output_path, local_seconds_to_time(settings().custom_timestamp));
    break;
  default:
    break;
  }
}

bool keep_running() {
  const std::lock_guard lock(progress().mutex);
  return progress().keep_running;
}

void report_start(int files_started, const QString &path) {
  const std::lock_guard lock(progress().mutex);
  progress().files_started = files_started;
  progress().current_file = path;
}

void report_end(int files_converted) {
  const std::lock_guard lock(progress().mutex);
  progress().files_converted = files_converted;
}

} // namespace

bool convert_file() {
  RunState &state = run_state();
  state.output_path.clear();
  state.temporary_path.clear();
  Image image = load_png(state.input_path);
  step_done("load");
  state.input_bit_depth = image_bpp(image);
  if (image_width(image) == 0 || image_height(image) == 0)
    return false;
  image = transform(std::move(image));
  return image && save(std::move(image));
}

int conversion_worker(int) {
  RunState &state = run_state();
  const bool trace = state.input_given && state.debug();
  int started = 0;
  int converted = 0;
  for (const auto &[path, job] : job_set()) {
    if (!keep_running())
      break;
    state.input_path = path;
    state.relative_subfolder = job.relative_subfolder;
    report_start(++started, path);
    if (trace)
      console_line(QStringLiteral("Processing: ") + path);
    const bool ok = convert_file();
    if (trace) {
      console_line(QStringLiteral("Saving As: ") + state.output_path);
      console_line(ok ? QStringLiteral("OK") : QStringLiteral("Not OK"));
    }
    if (!ok)
      continue;
    ++converted;
    state.random_number = random_number();
    ++state.sequence_number;
    apply_file_timestamp(state);
  }
  report_end(converted);
  return 0;
}

void set_step_observer(void (*observer)(const char *step)) { step_observer = observer; }

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
