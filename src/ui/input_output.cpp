#include "ui/input_output.h"

#include "engine/run/input_files.h"
#include "engine/settings/format_catalogue.h"
#include "engine/settings/product.h"
#include "platform/paths.h"
#include "prefs/image_tables.h"
#include "prefs/message_boxes.h"
#include "prefs/window_settings.h"
#include "text/lang.h"
#include "ui/main_window.h"
#include "ui/out_folder_history.h"
#include "ui/window_job.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMap>
#include <QMetaObject>

#include <algorithm>

namespace lumbrix {
namespace {

// The dialogs can change the window's contents; lay it out again once the loop is back.
void post_layout() {
  if (MainWindow *window = main_window())
    QMetaObject::invokeMethod(window, &MainWindow::layout_main_window, Qt::QueuedConnection);
}

void show_input(const QString &path, const QString &caption) {
  MainWindow *window = main_window();
  if (!window)
    return;
  window->input_field()->setText(caption);
  if (!window->folder_list()->currentText().isEmpty())
    return;
  const QString folder = folder_part(path);
  remember_out_folder(folder);
  window_job().output_folder = folder;
  fill_out_folder_list();
}

} // namespace

bool set_input_files(const std::vector<InputFile> &files) {
  std::vector<InputFile> accepted;
  for (const InputFile &file : files)
    if (is_acceptable_input(file.path))
      accepted.push_back(file);
  if (accepted.empty())
    return false;
  WindowJob &job = window_job();
  const QString first = accepted.front().path;
  // One file is shown as itself and converted from what the field says.
  job.inputs.clear();
  if (accepted.size() == 1) {
    show_input(first, first);
    return true;
  }
  job.inputs = std::move(accepted);
  job.inputs_caption =
      lang_format(lang(QStringLiteral("General"), QStringLiteral("Input and more")), first,
                  QString::number(job.inputs.size() - 1));
  show_input(first, job.inputs_caption);
  return true;
}

std::vector<InputFile> shown_inputs() {
  const MainWindow *window = main_window();
  const QString shown = window ? window->input_field()->text() : QString();
  const WindowJob &job = window_job();
  if (!job.inputs.empty() && shown == job.inputs_caption)
    return job.inputs;
  const QString input = shown.trimmed();
  if (is_acceptable_input(input))
    return {InputFile{input, QString()}};
  return {};
}

bool add_input_files(const QStringList &paths) {
  std::vector<InputFile> files = shown_inputs();
  const auto listed = [&files](const QString &path) {
    return std::any_of(files.begin(), files.end(),
                       [&path](const InputFile &file) { return file.path == path; });
  };
  bool added = false;
  for (const QString &path : paths) {
    if (listed(path) || !is_acceptable_input(path))
      continue;
    files.push_back({path, QString()});
    added = true;
  }
  return added && set_input_files(files);
}

std::vector<InputFile> dropped_inputs(const QStringList &paths) {
  std::vector<InputFile> files;
  for (const QString &path : paths) {
    if (QFileInfo(path).isDir()) {
      const std::vector<InputFile> found = folder_inputs(path, true);
      files.insert(files.end(), found.begin(), found.end());
    } else {
      files.push_back({path, QString()});
    }
  }
  return files;
}

QString input_file_filter() {
  QString all_patterns;
  QMap<QString, QString> by_description;
  for (const QString &extension : accepted_extensions()) {
    const QString description = input_format(extension).description;
    const QString pattern = QLatin1String("*.") + extension;
    all_patterns += pattern + QLatin1Char(';');
    QString &patterns = by_description[description];
    patterns = patterns.isEmpty() ? pattern : pattern + QLatin1Char(';') + patterns;
  }
  all_patterns.chop(1);
  QString filter = lang(QStringLiteral("Dialog"), QStringLiteral("All Supported Files")) +
                   QLatin1Char('|') + all_patterns + QLatin1Char('|');
  for (auto it = by_description.cbegin(); it != by_description.cend(); ++it)
    filter += it.key() + QLatin1Char('|') + it.value() + QLatin1Char('|');
  return filter + lang(QStringLiteral("Dialog"), QStringLiteral("All Files")) +
         QLatin1String(" (*.*)|*.*");
}

void select_input_file() {
  WindowJob &job = window_job();
  const QStringList chosen = system_dialogs().open_files(
      lang(QStringLiteral("Dialog"), QStringLiteral("Select Input Files")), input_file_filter(),
      job.last_input);
  std::vector<InputFile> files;
  for (const QString &path : chosen)
    files.push_back({path, QString()});
  set_input_files(files);
  // Convert reads the input field again.
  job.last_input.clear();
  post_layout();
}

void select_output_folder() {
  MainWindow *window = main_window();
  const QString shown = window ? window->folder_list()->currentText() : QString();
  const QString initial = shown.isEmpty() ? window_job().output_folder : folder_part(shown);
  const QString chosen = system_dialogs().choose_folder(
      lang(QStringLiteral("Dialog"), QStringLiteral("Select Output Folder")), initial);
  if (!chosen.isEmpty() && QFileInfo(chosen).isDir()) {
    const QString folder = with_separator(chosen);
    remember_out_folder(folder);
    window_job().output_folder = folder;
    fill_out_folder_list();
  }
  post_layout();
}

QString typed_output_folder(const QString &text) {
  QString folder = text.trimmed();
  if (folder == QLatin1String("~") || folder.startsWith(QLatin1String("~/")))
    folder.replace(0, 1, QDir::homePath());
  return with_separator(folder);
}

FolderOffer offer_to_create_output_folder(const QString &folder) {
  const QString question =
      lang_format(lang(QStringLiteral("Msg"), QStringLiteral("Create output folder")), folder);
  if (!ask_yes_no(lang(QStringLiteral("Msg"), QStringLiteral("Question")), question,
                  MessageIcon::Question))
    return FolderOffer::Declined;
  return QDir().mkpath(folder) ? FolderOffer::Created : FolderOffer::Failed;
}

void fill_out_folder_list() {
  MainWindow *window = main_window();
  if (!window || settings().recent_out_folders.isEmpty())
    return;
  QComboBox *list = window->folder_list();
  list->clear();
  const QIcon icon = table_icon(ImageTable::Menus, QStringLiteral("FavFolder"));
  int selected = 0;
  for (int i = 0; i < settings().out_folders_number; ++i) {
    const QString item = recent_out_folder(i);
    if (item.isEmpty())
      continue;
    // Blank fields are skipped, so the item's position is the count so far, not i.
    if (item == window_job().output_folder)
      selected = list->count();
    list->addItem(icon, item);
  }
  list->setCurrentIndex(list->count() > 0 ? selected : -1);
}

void fill_format_list(QComboBox *list, bool with_description) {
  list->clear();
  const QIcon icon = table_icon(ImageTable::Menus, QStringLiteral("New"));
  const QStringList &formats = output_formats();
  int selected = 0;
  for (int i = 0; i < formats.size(); ++i) {
    const QString &name = formats[i];
    if (name.isEmpty())
      continue;
    QString caption = name.toUpper();
    if (with_description)
      caption += QLatin1String(" (") + output_format(name).description + QLatin1Char(')');
    if (name == settings().output_format)
      selected = list->count();
    list->addItem(icon, caption, i);
  }
  list->setCurrentIndex(list->count() > 0 ? selected : -1);
}

void new_job() {
  fill_out_folder_list();
  reset_window_job();
  if (MainWindow *window = main_window()) {
    window->input_field()->clear();
    window->folder_list()->setCurrentIndex(-1);
    window->set_status_text(lang(QStringLiteral("General"), QStringLiteral("Ready")));
    window->input_field()->setFocus();
  }
}

} // namespace lumbrix
