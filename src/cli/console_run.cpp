#include "cli/console_run.h"

#include "cli/console_echo.h"
#include "engine/format_catalogue.h"
#include "cli/keywords.h"
#include "engine/pipeline.h"
#include "engine/product.h"
#include "engine/run_state.h"
#include "engine/settings.h"
#include "engine/settings_keys.h"
#include "engine/watermark_font.h"
#include "platform/console.h"
#include "platform/gui_app.h"
#include "text/lang.h"

#include <QFileInfo>

#include <thread>

namespace lumbrix {
namespace {

constexpr int kFailed = 1;

// Error lines are literals and are printed even in quiet mode.
int error(const char *text) {
  console_line(QStringLiteral("Error: ") + QLatin1String(text));
  return kFailed;
}

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

bool is_non_empty_file(const QString &path) {
  const QFileInfo info(path);
  return info.exists() && !info.isDir() && info.size() > 0;
}

// Steps for the input file and the output folder; false after printing an error.
bool check_input_and_output(const ConsoleEcho &echo) {
  RunState &state = run_state();
  echo.text("Input", state.input_base_folder);
  const QString input = state.input_base_folder;
  state.input_base_folder.clear();
  if (!has_extension(input)) {
    error("Invalid input file");
    return false;
  }
  state.input_path = input;
  if (!is_non_empty_file(input)) {
    error("Invalid input file");
    return false;
  }
  if (state.output_folder.isEmpty())
    state.output_folder = folder_part(input);
  echo.text("Output", state.output_folder);
  QString &folder = state.output_folder;
  if (folder.startsWith(QLatin1String(".."))) {
    error("Incorrect output folder");
    return false;
  }
  // A relative folder is resolved against the program's folder, not the current directory.
  if (!folder.startsWith(QLatin1Char('/'))) {
    if (folder.startsWith(QLatin1String("./")))
      folder.remove(0, 2);
    folder.prepend(state.program_folder);
  }
  if (!folder.endsWith(QLatin1Char('/')))
    folder.append(QLatin1Char('/'));
  if (!QFileInfo(folder).isDir()) {
    error("Invalid output folder");
    return false;
  }
  return true;
}

bool check_formats(const ConsoleEcho &echo) {
  RunState &state = run_state();
  const Settings &s = settings();
  if (state.input_format.isEmpty())
    state.input_format = input_formats().value(0);
  if (state.output_extension.isEmpty())
    state.output_extension = output_formats().value(0);
  echo.text("Conversion", state.output_extension);
  if (!is_output_extension(state.output_extension)) {
    error("Invalid conversion type");
    return false;
  }
  echo.input_format(state.input_format);
  const QString format = state.output_extension;
  echo.output_format(format);
  if (!bpp_allowed(format, output_bpp_setting(format))) {
    console_line(QStringLiteral("Error: Invalid ") + format.toLower() + QStringLiteral("-bpp value"));
    return false;
  }
  if (format == QLatin1String("jpg") && (s.jpg_quality < 1 || s.jpg_quality > 100)) {
    error("Invalid jpg-quality value");
    return false;
  }
  return true;
}

bool check_transform(const ConsoleEcho &echo) {
  const Settings &s = settings();
  if (s.do_image_rotation) {
    echo.keyword("Image Rotation Type", kw_rotation_type, s.image_rotation_type);
    echo.number("Image Rotation", s.image_rotation);
    echo.text("Image Rotation Back Color", s.image_rotation_back_color);
  }
  if (s.do_image_resize) {
    echo.text("Width", QString::number(s.image_width) + QLatin1Char(' ') +
                           keyword_name(kw_size_unit, s.image_width_unit));
    if (s.image_width == 0) {
      error("Invalid width value");
      return false;
    }
    echo.text("Height", QString::number(s.image_height) + QLatin1Char(' ') +
                            keyword_name(kw_size_unit, s.image_height_unit));
    if (s.image_height == 0) {
      error("Invalid height value");
      return false;
    }
    echo.number("Keep Aspect Ratio", s.keep_aspect_ratio);
    echo.keyword("Image Resize Type", kw_resize_type, s.image_resize_type);
    echo.keyword("Image Resize Algorithm", kw_resize_algorithm, s.image_resize_algorithm);
  }
  echo.number("Flip Horizontal", s.do_image_flip_horizontal);
  echo.number("Flip Vertical", s.do_image_flip_vertical);
  return true;
}

bool check_adjustment(const ConsoleEcho &echo) {
  const Settings &s = settings();
  if (s.do_image_color_correction) {
    echo.number("Brightness", s.image_brightness);
    if (s.image_brightness < -100 || s.image_brightness > 100) {
      error("Invalid brightness value");
      return false;
    }
    echo.number("Contrast", s.image_contrast);
    if (s.image_contrast < -100 || s.image_contrast > 100) {
      error("Invalid contrast value");
      return false;
    }
    echo.gamma("Gamma", s.image_gamma);
    // NaN fails both comparisons, so it is refused as well.
    if (!(s.image_gamma >= 0.01f && s.image_gamma <= 9.99f)) {
      error("Invalid gamma value");
      return false;
    }
    echo.number("Invert", s.image_invert);
  }
  echo.number("Greyscale", s.do_image_greyscale);
  if (s.do_image_threshold)
    echo.number("Image Threshold", s.image_threshold);
  return true;
}

void echo_frame(const ConsoleEcho &echo) {
  const Settings &s = settings();
  echo.keyword("Frame", kw_frame_kind, s.do_frame);
  if (s.do_frame != 1)
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

void echo_placement(const ConsoleEcho &echo, int boundary, int position, int x, int y,
                    int rotation, int size) {
  echo.keyword("Watermark boundary", kw_boundary, boundary);
  echo.keyword("Watermark position", kw_position, position);
  echo.text("Watermark offset (x/y)", QString::number(x) + QLatin1Char('/') + QString::number(y));
  echo.number("Watermark rotation", rotation);
  echo.keyword("Watermark size/mode", kw_size, size);
}

bool check_text_watermark(const ConsoleEcho &echo) {
  const Settings &s = settings();
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
  // Fonts need a GUI application; the console front has none of its own.
  if (!ensure_gui_application() || !load_watermark_font()) {
    error("Invalid watermark font");
    return false;
  }
  return true;
}

bool check_image_watermark(const ConsoleEcho &echo) {
  const Settings &s = settings();
  echo.text("Watermark image", s.image);
  echo.number("Watermark greyscale", s.image_greyscale);
  echo.number("Watermark opacity", s.image_opacity);
  echo_placement(echo, s.image_boundary, s.image_position, s.image_x_offset, s.image_y_offset,
                 s.wm_image_rotation, s.image_size);
  if (!is_non_empty_file(s.image)) {
    error("Invalid watermark image");
    return false;
  }
  return true;
}

bool check_watermark(const ConsoleEcho &echo) {
  const Settings &s = settings();
  echo.keyword("Watermark", kw_watermark_kind, s.do_watermark);
  if (s.do_watermark == 1)
    return check_text_watermark(echo);
  if (s.do_watermark == 2)
    return check_image_watermark(echo);
  return true;
}

void echo_naming(const ConsoleEcho &echo) {
  const Settings &s = settings();
  echo.text("Filename Mask", s.filename_mask);
  echo.keyword("File Timestamp", kw_timestamp, s.file_timestamp);
  if (s.file_timestamp == 2)
    echo.number("Custom Timestamp", s.custom_timestamp);
  echo.number("Keep Subfolders", s.keep_subfolders);
}

bool check_settings(const ConsoleEcho &echo) {
  if (!check_transform(echo) || !check_adjustment(echo))
    return false;
  echo_frame(echo);
  if (!check_watermark(echo))
    return false;
  echo_naming(echo);
  return true;
}

void prepare_run() {
  RunState &state = run_state();
  state.output_format_id = output_format(state.output_extension).id;
  state.output_bit_depth = output_bpp_setting(state.output_extension);
  state.save_flags = save_flags(state.output_extension);
  state.automatic_depth = state.output_bit_depth == 0;
}

int import_input() {
  const QString extension = file_extension(run_state().input_path);
  if (extension == QLatin1String("txt") || extension == QLatin1String("lst"))
    return 0;
  return set_input_file(run_state().input_path) ? 1 : 0;
}

int run_worker() {
  start_progress();
  std::thread worker(conversion_worker, 0);
  worker.join();
  const std::lock_guard lock(progress().mutex);
  return progress().files_converted;
}

int convert(bool quiet) {
  status(quiet, "General", "Importing");
  const int imported = import_input();
  if (!quiet)
    console_line(lang_format(lang(QStringLiteral("Msg"), QStringLiteral("Import complete")),
                             QString::number(imported)));
  if (imported == 0) {
    status(false, "Msg", "Conversion is not complete");
    status(false, "Msg", "Empty input files");
    return kFailed;
  }
  status(quiet, "General", "Converting");
  const int converted = run_worker();
  if (converted <= 0) {
    status(false, "Msg", "Conversion is not complete");
    return kFailed;
  }
  status(quiet, "Msg", "Conversion complete");
  if (!quiet)
    console_line(lang_format(lang(QStringLiteral("Msg"), QStringLiteral("Files converted")),
                             QString::number(converted), QString::number(imported)));
  return 0;
}

} // namespace

int console_run(bool quiet) {
  const ConsoleEcho echo(run_state().debug());
  status(quiet, "General", "Preparing");
  if (!check_input_and_output(echo) || !check_formats(echo) || !check_settings(echo)) {
    release_watermark_font();
    return kFailed;
  }
  prepare_run();
  const int result = convert(quiet);
  release_watermark_font();
  return result;
}

} // namespace lumbrix
