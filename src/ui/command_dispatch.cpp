#include "ui/command_dispatch.h"

#include "build_constants.h"
#include "engine/settings/product.h"
#include "platform/shipped_files.h"
#include "prefs/message_boxes.h"
#include "prefs/update_check.h"
#include "prefs/window_settings.h"
#include "ui/about_window.h"
#include "ui/commands.h"
#include "ui/conversion_run.h"
#include "ui/finder_window.h"
#include "ui/input_output.h"
#include "ui/main_window.h"
#include "ui/window_hooks.h"
#include "ui/window_job.h"

#include <QComboBox>

namespace lumbrix {
namespace {

constexpr int output_options_page = 3;

} // namespace

QString help_file_path() {
  // Found from the program's folder, so the manual opens whatever folder it was started from.
  return shipped_path(Shipped::documentation, QString::fromUtf8(build::help_file));
}

QString feedback_address() {
  return QLatin1String("mailto:") + QString::fromUtf8(build::support_mail) +
         QLatin1String("?subject=") + window_title() + QLatin1String(" Feedback");
}

void dispatch_command(Command command) {
  switch (command) {
  case Command::New:
    new_job();
    break;
  case Command::Exit:
    if (MainWindow *window = main_window())
      window->close();
    break;
  case Command::SelectInputFile:
    select_input_file();
    break;
  case Command::SelectOutputFolder:
    select_output_folder();
    break;
  case Command::OutputFormatOptions:
    window_job().preferences_start_page = output_options_page;
    open_preferences();
    break;
  case Command::Convert:
    start_conversion();
    break;
  case Command::CustomConverter:
    open_finder();
    break;
  case Command::Preferences:
    open_preferences();
    break;
  case Command::Manual:
    open_or_report(help_file_path());
    break;
  case Command::SendFeedback:
    open_or_report(feedback_address());
    break;
  case Command::VisitHomepage:
    open_or_report(product_page_address());
    break;
  case Command::CheckForNewVersion:
    check_for_updates();
    break;
  case Command::About:
    open_about();
    break;
  }
}

void control_event(Control control) {
  MainWindow *window = main_window();
  if (!window)
    return;
  switch (control) {
  case Control::FolderList:
    window_job().output_folder = window->folder_list()->currentText();
    break;
  case Control::FormatList:
    settings().output_format = output_formats().value(window->format_list()->currentData().toInt());
    break;
  case Control::ConvertButton:
    start_conversion();
    break;
  }
}

void drop_files(const QStringList &paths) { set_input_files(dropped_inputs(paths)); }

} // namespace lumbrix
