#include "ui/conversion_run.h"

#include "engine/run/conversion_request.h"
#include "engine/settings/format_catalogue.h"
#include "engine/settings/product.h"
#include "prefs/message_boxes.h"
#include "prefs/window_settings.h"
#include "text/lang.h"
#include "ui/input_output.h"
#include "ui/main_window.h"
#include "ui/out_folder_history.h"
#include "ui/progress_window.h"
#include "ui/window_job.h"

#include <QComboBox>
#include <QLineEdit>

namespace lumbrix {
namespace {

// A check that failed before the run could start.
void stop(const QString &message) {
  set_status_text(lang_msg("Conversion is not complete"));
  show_warning(message);
}

// The input field and the two drop-downs, with a copy of the settings as they are now.
ConversionRequest window_request() {
  ConversionRequest request;
  MainWindow *window = main_window();
  window_job().last_input = window ? window->input_field()->text().trimmed() : QString();
  request.files = shown_inputs();
  request.output_folder =
      typed_output_folder(window ? window->folder_list()->currentText() : QString());
  const int format = window ? window->format_list()->currentData().toInt() : 0;
  request.output_extension = output_formats().value(format);
  request.settings = settings();
  request.counters = window_job().counters;
  return request;
}

// Tells the user why the request cannot run. Problems with the watermark leave the status at
// "Preparing...".
void report(RequestProblem problem, const ConversionRequest &request) {
  const Settings &s = request.settings;
  switch (problem) {
  case RequestProblem::None:
    break;
  case RequestProblem::InputFileInvalid:
    return stop(lang_msg("Empty input files"));
  case RequestProblem::NoOutputFolder:
    return stop(lang_msg("Empty output folder"));
  case RequestProblem::OutputFolderNotFound:
    return stop(lang_format(lang_msg("Invalid output folder"), request.output_folder));
  case RequestProblem::UnknownOutputFormat:
    return stop(lang_msg("Invalid conversion type"));
  case RequestProblem::BitDepthNotAllowed:
    return stop(lang_format(lang_msg("Invalid bit depth"), request.output_extension.toUpper(),
                            QString::number(requested_depth(request))));
  case RequestProblem::JpgQualityOutOfRange:
    return stop(lang_msg("Invalid quality"));
  case RequestProblem::ResizeWidthMissing:
    return stop(lang_msg("Invalid width"));
  case RequestProblem::ResizeHeightMissing:
    return stop(lang_msg("Invalid height"));
  case RequestProblem::BrightnessOutOfRange:
    return stop(lang_msg("Invalid brightness"));
  case RequestProblem::ContrastOutOfRange:
    return stop(lang_msg("Invalid contrast"));
  case RequestProblem::GammaOutOfRange:
    return stop(lang_msg("Invalid gamma"));
  case RequestProblem::WatermarkFontUnusable:
    return show_warning(lang_format(lang_msg("Invalid watermark font"), s.font));
  case RequestProblem::NoWatermarkImage:
    return show_warning(lang_msg("Empty watermark image"));
  case RequestProblem::WatermarkImageInvalid:
    return show_warning(lang_format(lang_msg("Invalid watermark image"), s.image));
  }
}

// The request's first problem, after offering to create a missing output folder; None also
// when the user declined, after which the run stops without another message.
RequestProblem checked_request(ConversionRequest &request, bool &declined) {
  const RequestProblem problem = check_request(request);
  if (problem != RequestProblem::OutputFolderNotFound)
    return problem;
  switch (offer_to_create_output_folder(request.output_folder)) {
  case FolderOffer::Created:
    return check_request(request);
  case FolderOffer::Declined:
    declined = true;
    return RequestProblem::None;
  case FolderOffer::Failed:
    break;
  }
  return problem;
}

} // namespace

void start_conversion() {
  ConversionRequest request = window_request();
  set_status_text(lang(QStringLiteral("General"), QStringLiteral("Preparing")));
  bool declined = false;
  const RequestProblem problem = checked_request(request, declined);
  if (declined)
    return set_status_text(lang_msg("Conversion is not complete"));
  if (problem != RequestProblem::None)
    return report(problem, request);
  window_job().output_folder = request.output_folder;
  set_status_text(lang(QStringLiteral("General"), QStringLiteral("Converting")));
  const RunResult result = run_progress_window(request);
  window_job().counters = result.counters;
  if (remember_written_folder(request.output_folder, result.files_converted))
    fill_out_folder_list();
}

} // namespace lumbrix
