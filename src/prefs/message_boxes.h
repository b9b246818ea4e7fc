#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace lumbrix {

enum class MessageIcon { Information, Warning, Error, Question };

// Every modal exchange with the user and every hand-over to the desktop passes through one
// object, so that tests can replace it with a scripted one and never block on a real dialog.
class SystemDialogs {
public:
  virtual ~SystemDialogs() = default;
  // A message box with one OK button.
  virtual void message(MessageIcon icon, const QString &title, const QString &text) = 0;
  // A message box with Yes and No; true on Yes.
  virtual bool question(MessageIcon icon, const QString &title, const QString &text) = 0;
  // One existing file, or an empty text when cancelled. The filter is "description|patterns|..."
  // with patterns separated by ";"; its first entry is preselected.
  virtual QString open_file(const QString &title, const QString &filter,
                            const QString &initial_file) = 0;
  // Existing files, several at once, or none when cancelled; the filter as for open_file.
  virtual QStringList open_files(const QString &title, const QString &filter,
                                 const QString &initial_file) {
    const QString file = open_file(title, filter, initial_file);
    return file.isEmpty() ? QStringList() : QStringList{file};
  }
  // An existing folder, or an empty text when cancelled.
  virtual QString choose_folder(const QString &title, const QString &initial_folder) = 0;
  virtual std::optional<QColor> choose_colour(const QColor &initial) = 0;
  virtual std::optional<QFont> choose_font(const QFont &initial) = 0;
  // A line of text typed by the user, or none when cancelled.
  virtual std::optional<QString> ask_text(const QString &title, const QString &label,
                                          const QString &initial) {
    (void)title, (void)label, (void)initial;
    return std::nullopt;
  }
  // A file, web address or "mailto:" address for the desktop to open; done is told whether the
  // desktop took it.
  virtual void open_url(const QString &target, std::function<void(bool opened)> done) = 0;
};

// The object in use. Until the window front installs its own, one that shows nothing, answers No
// and chooses nothing, so code without a display can never hang on a dialog.
SystemDialogs &system_dialogs();

// Installs dialogs (not owned; it must outlive its use) and returns the previous one. Null puts
// back the silent default.
SystemDialogs *set_system_dialogs(SystemDialogs *dialogs);

// Titles and icons fixed by convention: errors under Msg/Error, warnings under Msg/Warning.
void show_error(const QString &text);
void show_warning(const QString &text);
void show_info(const QString &title, const QString &text);
bool ask_yes_no(const QString &title, const QString &text, MessageIcon icon);

// Has the desktop open target (the manual, a web page, a mail address) and tells the user with an
// error message naming it when the desktop could not.
void open_or_report(const QString &target);

// The filter of open_file as the entries of a Qt file dialog: "description (patterns)". A pattern
// "*.*" means every file. A description that already ends with its own patterns in parentheses
// does not get them twice.
QStringList name_filters(const QString &filter);

} // namespace lumbrix
