#include "cli/console_run.h"

#include "cli/console_echo.h"
#include "cli/keywords.h"
#include "engine/run/conversion_request.h"
#include "engine/run/conversion_worker.h"
#include "engine/run/input_files.h"
#include "engine/settings/format_catalogue.h"
#include "engine/settings/product.h"
#include "platform/console.h"
#include "platform/font_families.h"
#include "platform/gui_app.h"
#include "platform/paths.h"
#include "platform/stop_signals.h"
#include "text/lang.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <optional>
#include <thread>

namespace lumbrix {
namespace {

constexpr int kFailed = 1;

// Error lines are literals and are printed even in quiet mode.
bool error(const QString &text) {
  console_line(QStringLiteral("Error: ") + text);
  return false;
}

bool error(const char *text) { return error(QLatin1String(text)); }

void status(bool quiet, const char *group, const char *key) {
  if (!quiet)
    console_line(lang(QLatin1String(group), QLatin1String(key)));
}

// The text after the last "." of the file name, unless that "." starts the name.
bool has_extension(const QString &path) {
  const auto dot = path.lastIndexOf(QLatin1Char('.'));
  if (dot < 0)
    return false;
  for (auto i = dot + 1; i < path.size(); ++i) {
    if (path[i] == QLatin1Char(' ') || path[i] == QLatin1Char('/') || path[i] == QLatin1Char('\\'))
      return false;
  }
  return dot > 0 && path[dot - 1] != QLatin1Char('/') && path[dot - 1] != QLatin1Char('\\');
}

// A relative folder is resolved against the current folder, as a shell user means it; the empty
// folder (an input named without one) is the current folder itself.
QString resolved_folder(QString folder) {
  if (!folder.startsWith(QLatin1Char('/'))) {
    if (folder.startsWith(QLatin1String("./")))
      folder.remove(0, 2);
    folder.prepend(with_separator(QDir::currentPath()));
  }
  return with_separator(folder);
}

// One console run: the job as asked, the request being built and checked, the debug echo, and
// whether the inputs are the pictures of a folder or a list rather than one named file.
struct ConsoleRun {
  const ConsoleJob &job;
  ConversionRequest request;
  ConsoleEcho echo;
  bool batch = false;
};

bool is_folder(const QString &path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

bool take_input(ConsoleRun &run) {
  const ConsoleJob &job = run.job;
  run.echo.text("Input", job.input.isEmpty() ? job.input_list : job.input);
  run.batch = is_folder(job.input) || !job.input_list.isEmpty();
  std::vector<InputFile> &files = run.request.files;
  if (is_folder(job.input))
    files = folder_inputs(job.input, job.recursive);
  else if (!job.input.isEmpty() && !has_extension(job.input))
    return error("Invalid input file");
  else if (!job.input.isEmpty())
    files.push_back({job.input, QString()});
  if (job.input_list.isEmpty())
    return true;
  const std::size_t before = files.size();
  QString reason;
  if (!read_input_list(job.input_list, files, reason))
    return error(QStringLiteral("Invalid input list: ") + reason);
  if (files.size() == before)
    return error(QStringLiteral("Invalid input list: the list ") + job.input_list +
                 QStringLiteral(" is empty"));
  return true;
}

// Beside the input: the folder given as input, or the folder of the input file or list.
QString default_output_folder(const ConsoleJob &job) {
  if (is_folder(job.input))
    return with_separator(job.input);
  return folder_part(job.input.isEmpty() ? job.input_list : job.input);
}

bool take_output_folder(ConsoleRun &run) {
  const QString &given = run.job.output_folder;
  const QString folder = given.isEmpty() ? default_output_folder(run.job) : given;
  run.echo.text("Output", folder);
  if (folder.startsWith(QLatin1String("..")))
    return error("Incorrect output folder");
  run.request.output_folder = resolved_folder(folder);
  return true;
}

// With --create-output-folder a missing output folder is made before it is checked; when that
// fails the check names the folder invalid as it would without the option.
void create_output_folder(const ConsoleRun &run) {
  const QString &folder = run.request.output_folder;
  if (run.job.create_output_folder && !is_folder(folder))
    QDir().mkpath(folder);
}

void take_output_format(ConsoleRun &run) {
  const QString &given = run.job.output_extension;
  run.request.output_extension = given.isEmpty() ? output_formats().value(0) : given;
  run.echo.text("Conversion", run.request.output_extension);
}

void echo_rotation_and_width(const ConsoleRun &run) {
  const Settings &s = run.request.settings;
  if (s.do_image_rotation) {
    run.echo.keyword("Image Rotation Type", kw_rotation_type, s.image_rotation_type);
    run.echo.number("Image Rotation", s.image_rotation);
    run.echo.text("Image Rotation Back Color", s.image_rotation_back_color);
  }
  if (s.do_image_resize)
    run.echo.text("Width", QString::number(s.image_width) + QLatin1Char(' ') +
                               keyword_name(kw_size_unit, s.image_width_unit));
}

void echo_height(const ConsoleRun &run) {
  const Settings &s = run.request.settings;
  if (s.do_image_resize)
    run.echo.text("Height", QString::number(s.image_height) + QLatin1Char(' ') +
                                keyword_name(kw_size_unit, s.image_height_unit));
}

void echo_resize_rest_and_brightness(const ConsoleRun &run) {
  const Settings &s = run.request.settings;
  if (s.do_image_resize) {
    run.echo.number("Keep Aspect Ratio", s.keep_aspect_ratio);
    run.echo.keyword("Image Resize Type", kw_resize_type, s.image_resize_type);
    run.echo.keyword("Image Resize Algorithm", kw_resize_algorithm, s.image_resize_algorithm);
  }
  run.echo.number("Flip Horizontal", s.do_image_flip_horizontal);
  run.echo.number("Flip Vertical", s.do_image_flip_vertical);
  if (s.do_image_color_correction)
    run.echo.number("Brightness", s.image_brightness);
}

void echo_frame(const ConsoleEcho &echo, const Settings &s) {
  echo.keyword("Frame", kw_frame_kind, static_cast<int>(s.do_frame));
  if (s.do_frame != FrameKind::Solid)
    return;
  echo.number("Frame left", s.solid_left);
  echo.number("Frame right", s.solid_right);
  echo.number("Frame top", s.solid_top);
  echo.number("Frame bottom", s.solid_bottom);
  echo.text("Frame left color", s.solid_left_color);
  echo.text("Frame right color", s.solid_right_color);
  echo.text("Frame top color", s.solid_top_color);
  echo.text("Frame bottom color", s.solid_bottom_color);
  echo.number("Frame opacity", s.solid_opacity);
}

void echo_placement(const ConsoleEcho &echo, int boundary, int position, int x, int y, int rotation,
                    int size) {
  echo.keyword("Watermark boundary", kw_boundary, boundary);
  echo.keyword("Watermark position", kw_position, position);
  echo.text("Watermark offset (x/y)", QString::number(x) + QLatin1Char('/') + QString::number(y));
  echo.number("Watermark rotation", rotation);
  echo.keyword("Watermark size/mode", kw_size, size);
}

void echo_text_watermark(const ConsoleEcho &echo, const Settings &s) {
  echo.text("Watermark text", s.text);
  echo.text("Watermark font", s.font);
  echo.number("Watermark font size", s.font_size);
  echo.number("Watermark font leading", s.font_leading);
  echo.text("Watermark font color", s.font_color);
  echo.keyword("Watermark font style", kw_font_style, s.font_style);
  echo.keyword("Watermark font effect", kw_font_effect, s.font_effect);
  echo.number("Watermark text antialiasing", s.text_antialiasing);
  echo.keyword("Watermark text alignment", kw_alignment, s.text_alignment);
  echo.number("Watermark text padding", s.text_padding);
  echo.number("Watermark text opacity", s.text_opacity);
  echo.text("Watermark background color", s.back_color);
  echo.number("Watermark background opacity", s.back_opacity);
  echo_placement(echo, s.text_boundary, s.text_position, s.text_x_offset, s.text_y_offset,
                 s.text_rotation, s.text_size);
}

void echo_image_watermark(const ConsoleEcho &echo, const Settings &s) {
  echo.text("Watermark image", s.image);
  echo.number("Watermark greyscale", s.image_greyscale);
  echo.number("Watermark opacity", s.image_opacity);
  echo_placement(echo, s.image_boundary, s.image_position, s.image_x_offset, s.image_y_offset,
                 s.wm_image_rotation, s.image_size);
}

// The built-in font the system lacks is drawn, and echoed, as the system's sans-serif, the
// family the window shows for it; any other font stays as named. Fonts need the application
// the font check would start anyway.
void settle_font(Settings &s) {
  if (s.do_watermark == WatermarkKind::Text && ensure_gui_application())
    s.font = settled_font(s.font, default_settings(SettingsUse::Console).font);
}

// Adjustment's last lines, the frame and the text watermark.
void echo_up_to_font(const ConsoleRun &run) {
  const Settings &s = run.request.settings;
  if (s.do_image_color_correction)
    run.echo.number("Invert", s.image_invert);
  run.echo.number("Greyscale", s.do_image_greyscale);
  if (s.do_image_threshold)
    run.echo.number("Image Threshold", s.image_threshold);
  echo_frame(run.echo, s);
  run.echo.keyword("Watermark", kw_watermark_kind, static_cast<int>(s.do_watermark));
  if (s.do_watermark == WatermarkKind::Text)
    echo_text_watermark(run.echo, s);
}

void echo_naming(const ConsoleEcho &echo, const Settings &s) {
  echo.text("Filename Mask", s.filename_mask);
  echo.keyword("File Timestamp", kw_timestamp, static_cast<int>(s.file_timestamp));
  if (s.file_timestamp == TimestampKind::Custom)
    echo.number("Custom Timestamp", s.custom_timestamp);
  echo.number("Keep Subfolders", s.keep_subfolders);
}

// What the console takes from the command line and prints before a check of the request; false
// after printing an error of its own.
bool before_check(RequestProblem check, ConsoleRun &run) {
  const Settings &s = run.request.settings;
  switch (check) {
  case RequestProblem::InputFileInvalid:
    return take_input(run);
  case RequestProblem::NoOutputFolder:
    return take_output_folder(run);
  case RequestProblem::OutputFolderNotFound:
    create_output_folder(run);
    return true;
  case RequestProblem::UnknownOutputFormat:
    take_output_format(run);
    return true;
  case RequestProblem::BitDepthNotAllowed:
    run.echo.input_format(s, input_formats().value(0));
    run.echo.output_format(s, run.request.output_extension);
    return true;
  case RequestProblem::ResizeWidthMissing:
    echo_rotation_and_width(run);
    return true;
  case RequestProblem::ResizeHeightMissing:
    echo_height(run);
    return true;
  case RequestProblem::BrightnessOutOfRange:
    echo_resize_rest_and_brightness(run);
    return true;
  case RequestProblem::ContrastOutOfRange:
    if (s.do_image_color_correction)
      run.echo.number("Contrast", s.image_contrast);
    return true;
  case RequestProblem::GammaOutOfRange:
    if (s.do_image_color_correction)
      run.echo.gamma("Gamma", s.image_gamma);
    return true;
  case RequestProblem::WatermarkFontUnusable:
    settle_font(run.request.settings);
    echo_up_to_font(run);
    return true;
  case RequestProblem::NoWatermarkImage:
    if (s.do_watermark == WatermarkKind::Image)
      echo_image_watermark(run.echo, s);
    return true;
  case RequestProblem::None:
  case RequestProblem::JpgQualityOutOfRange:
  case RequestProblem::WatermarkImageInvalid:
    return true;
  }
  return true;
}

QString problem_text(RequestProblem problem, const ConversionRequest &request) {
  switch (problem) {
  case RequestProblem::InputFileInvalid:
    return QStringLiteral("Invalid input file");
  case RequestProblem::NoOutputFolder:
  case RequestProblem::OutputFolderNotFound:
    return QStringLiteral("Invalid output folder");
  case RequestProblem::UnknownOutputFormat:
    return QStringLiteral("Invalid conversion type");
  case RequestProblem::BitDepthNotAllowed:
    return QStringLiteral("Invalid ") + request.output_extension.toLower() +
           QStringLiteral("-bpp value");
  case RequestProblem::JpgQualityOutOfRange:
    return QStringLiteral("Invalid jpg-quality value");
  case RequestProblem::ResizeWidthMissing:
    return QStringLiteral("Invalid width value");
  case RequestProblem::ResizeHeightMissing:
    return QStringLiteral("Invalid height value");
  case RequestProblem::BrightnessOutOfRange:
    return QStringLiteral("Invalid brightness value");
  case RequestProblem::ContrastOutOfRange:
    return QStringLiteral("Invalid contrast value");
  case RequestProblem::GammaOutOfRange:
    return QStringLiteral("Invalid gamma value");
  case RequestProblem::WatermarkFontUnusable:
    return QStringLiteral("Invalid watermark font");
  case RequestProblem::NoWatermarkImage:
  case RequestProblem::WatermarkImageInvalid:
    return QStringLiteral("Invalid watermark image");
  case RequestProblem::None:
    break;
  }
  return QString();
}

// The request's checks in order, each preceded by what the console prints before it.
bool check_console_request(ConsoleRun &run) {
  for (const RequestCheck &check : request_checks()) {
    if (!before_check(check.problem, run))
      return false;
    if (!check.passes(run.request))
      return error(problem_text(check.problem, run.request));
  }
  echo_naming(run.echo, run.request.settings);
  return true;
}

// The files a run takes. A named file must have an accepted extension; a list named with -i
// (.txt, .lst) brings none, --input-list is the way to give one. The pictures of a folder or a
// list are all taken, and a file among them that is no picture fails on its own.
int import_input(ConsoleRun &run) {
  ConversionRequest &request = run.request;
  if (!run.batch) {
    std::vector<InputFile> imported;
    for (const InputFile &file : request.files) {
      const QString extension = file_extension(file.path);
      if (extension != QLatin1String("txt") && extension != QLatin1String("lst") &&
          is_acceptable_input(file.path))
        imported.push_back(file);
    }
    request.files = std::move(imported);
  }
  return static_cast<int>(request.files.size());
}

// The run on a worker thread; a stop signal meanwhile stops it, and ends the process once the
// lines are printed. With a progress line, the wait wakes to draw it; without, it only sleeps.
RunResult run_worker(const ConversionRequest &request, int &signal, bool show_progress) {
  const StopSignals stop;
  ProgressRecord progress;
  std::optional<ProgressLine> line;
  if (show_progress)
    line.emplace(request.files);
  std::atomic<bool> done = false;
  RunResult result;
  std::thread worker([&] {
    result = run_conversion(request, progress);
    done = true;
    stop.wake();
  });
  while (!done) {
    const int caught = stop.wait(line ? ProgressLine::interval_ms : -1);
    if (caught == StopSignals::timed_out) {
      line->draw(progress);
      continue;
    }
    if (caught == 0)
      break; // woken: the work is done
    signal = caught;
    const std::lock_guard lock(progress.mutex);
    progress.keep_running = false;
  }
  worker.join();
  if (line)
    line->clear();
  return result;
}

// A line for each file that failed, naming it and the reason; printed even in quiet mode.
// After a stop, also a line for each file that was not converted.
void report_failures(const ConversionRequest &request, const RunResult &result) {
  for (std::size_t i = 0; i < result.files.size(); ++i) {
    const FileResult &file = result.files[i];
    if (file.status == FileStatus::Failed)
      error(request.files[i].path + QStringLiteral(": ") + file.reason);
    else if (file.status == FileStatus::NotConverted && result.stopped)
      error(request.files[i].path + QStringLiteral(": not converted, the run was stopped"));
  }
}

int convert(ConsoleRun &run, bool quiet) {
  ConversionRequest &request = run.request;
  status(quiet, "General", "Importing");
  const int imported = import_input(run);
  if (!quiet)
    console_line(lang_format(lang(QStringLiteral("Msg"), QStringLiteral("Import complete")),
                             QString::number(imported)));
  if (imported == 0) {
    status(false, "Msg", "Conversion is not complete");
    status(false, "Msg", "Empty input files");
    return kFailed;
  }
  status(quiet, "General", "Converting");
  int signal = 0;
  const RunResult result =
      run_worker(request, signal, progress_line_wanted(run.job.progress, quiet));
  report_failures(request, result);
  const int converted = result.files_converted;
  const auto files_line = [&] {
    return lang_format(lang(QStringLiteral("Msg"), QStringLiteral("Files converted")),
                       QString::number(converted), QString::number(imported));
  };
  if (converted <= 0) {
    status(false, "Msg", "Conversion is not complete");
    if (run.batch && !quiet)
      console_line(files_line());
  } else {
    status(quiet, "Msg", "Conversion complete");
    if (!quiet)
      console_line(files_line());
  }
  if (signal != 0)
    StopSignals::end_process(signal);
  return converted == imported ? 0 : kFailed;
}

} // namespace

int console_run(const ConsoleJob &job, bool quiet) {
  const bool debug = job.mode == RunMode::Debug;
  ConsoleRun run{job, ConversionRequest{}, ConsoleEcho(debug)};
  run.request.settings = job.settings;
  run.request.counters = fresh_name_counters();
  run.request.trace = debug;
  status(quiet, "General", "Preparing");
  if (!check_console_request(run))
    return kFailed;
  return convert(run, quiet);
}

} // namespace lumbrix
