#include "ui/conversion_run.h"

#include "engine/format_catalogue.h"
#include "engine/product.h"
#include "engine/run_state.h"
#include "engine/settings.h"
#include "engine/settings_keys.h"
#include "engine/watermark_font.h"
#include "platform/files.h"
#include "text/lang.h"
#include "prefs/message_boxes.h"
#include "ui/input_output.h"
#include "ui/main_window.h"
#include "ui/out_folder_history.h"
#include "ui/progress_window.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>

namespace lumbrix {
namespace {

QString msg(const char *key) { return lang(QStringLiteral("Msg"), QString::fromLatin1(key)); }

// A check that failed before the run could start.
void stop(const QString &message) {
  set_status_text(msg("Conversion is not complete"));
  show_warning(message);
}

bool is_input_file(const QString &path) {
  return file_size(path) >= 1 && is_listed(file_extension(path), accepted_extensions());
}

void read_window_fields() {
  RunState &state = run_state();
  MainWindow *window = main_window();
  state.input_path = window ? window->input_field()->text().trimmed() : QString();
  job_set().clear();
  if (is_input_file(state.input_path))
    job_set()[state.input_path] = Job{1, QString()};
  state.output_folder = window ? window->folder_list()->currentText().trimmed() : QString();
  const int format = window ? window->format_list()->currentData().toInt() : 0;
  state.output_extension = output_formats().value(format);
}

bool check_input_and_folder() {
  RunState &state = run_state();
  if (job_set().empty()) {
    stop(msg("Empty input files"));
    return false;
  }
  if (state.output_folder.isEmpty()) {
    stop(msg("Empty output folder"));
    return false;
  }
  state.output_folder = with_separator(state.output_folder);
  if (!QFileInfo(state.output_folder).isDir()) {
    stop(lang_format(msg("Invalid output folder"), state.output_folder));
    return false;
  }
  return true;
}

bool check_resize() {
  const Settings &s = settings();
  if (!s.do_image_resize)
    return true;
  if (s.image_width == 0) {
    stop(msg("Invalid width"));
    return false;
  }
  if (s.image_height == 0) {
    stop(msg("Invalid height"));
    return false;
  }
  return true;
}

// The watermark checks leave the status at "Preparing...". A text watermark's font stays loaded
// for the run.
bool check_watermark() {
  const Settings &s = settings();
  if (s.do_watermark == 1 && !load_watermark_font()) {
    show_warning(lang_format(msg("Invalid watermark font"), s.font));
    return false;
  }
  if (s.do_watermark == 2) {
    if (s.image.isEmpty()) {
      show_warning(msg("Empty watermark image"));
      return false;
    }
    if (file_size(s.image) < 1) {
      show_warning(lang_format(msg("Invalid watermark image"), s.image));
      return false;
    }
  }
  return true;
}

void prepare_output() {
  RunState &state = run_state();
  state.output_format_id = output_format(state.output_extension).id;
  state.output_bit_depth = output_bpp_setting(state.output_extension);
  state.automatic_depth = state.output_bit_depth == 0;
  if (remember_out_folder(state.output_folder))
    fill_out_folder_list();
}

} // namespace

void start_conversion() {
  read_window_fields();
  set_status_text(lang(QStringLiteral("General"), QStringLiteral("Preparing")));
  if (!check_input_and_folder() || !check_resize() || !check_watermark())
    return;
  prepare_output();
  set_status_text(lang(QStringLiteral("General"), QStringLiteral("Converting")));
  run_progress_window();
  if (settings().do_watermark == 1 && watermark_font())
    release_watermark_font();
}

} // namespace lumbrix
