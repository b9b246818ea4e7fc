#pragma once

#include "prefs/message_boxes.h"

#include <QList>

#include <functional>

namespace lumbrix::test {

// Stands in for every dialog: records what would have been shown and answers from a script.
class ScriptedDialogs final : public SystemDialogs {
public:
  struct Shown {
    MessageIcon icon;
    QString title;
    QString text;
  };

  void message(MessageIcon icon, const QString &title, const QString &text) override {
    messages.append({icon, title, text});
  }
  bool question(MessageIcon icon, const QString &title, const QString &text) override {
    questions.append({icon, title, text});
    return on_question ? on_question() : answer;
  }
  QString open_file(const QString &title, const QString &filter,
                    const QString &initial_file) override {
    file_requests.append(
        {MessageIcon::Information, title, filter + QLatin1Char('#') + initial_file});
    return next_file;
  }
  QStringList open_files(const QString &title, const QString &filter,
                         const QString &initial_file) override {
    if (next_files.isEmpty())
      return SystemDialogs::open_files(title, filter, initial_file);
    file_requests.append(
        {MessageIcon::Information, title, filter + QLatin1Char('#') + initial_file});
    return next_files;
  }
  QString choose_folder(const QString &title, const QString &initial_folder) override {
    folder_requests.append({MessageIcon::Information, title, initial_folder});
    return next_folder;
  }
  std::optional<QColor> choose_colour(const QColor &initial) override {
    colour_requests.append(initial);
    return next_colour;
  }
  std::optional<QFont> choose_font(const QFont &initial) override {
    font_requests.append(initial);
    return next_font;
  }
  std::optional<QString> ask_text(const QString &title, const QString &, const QString &) override {
    text_requests.append(title);
    return next_text;
  }
  void open_url(const QString &target, std::function<void(bool)> done) override {
    opened.append(target);
    if (done)
      done(open_result);
  }

  QList<Shown> messages;
  QList<Shown> questions;
  QList<Shown> file_requests;   // text: filter + "#" + initial file
  QList<Shown> folder_requests; // text: initial folder
  QStringList opened;
  bool answer = false;
  bool open_result = true; // whether the desktop takes what it is asked to open
  std::function<bool()> on_question;
  QString next_file;
  QStringList next_files; // when set, what a choice of several files gives
  QString next_folder;
  QList<QColor> colour_requests;
  QList<QFont> font_requests;
  std::optional<QColor> next_colour; // none: cancelled
  std::optional<QFont> next_font;
  QStringList text_requests;        // titles
  std::optional<QString> next_text; // none: cancelled
};

// Installs itself for the life of the object.
class InstalledDialogs {
public:
  InstalledDialogs() { set_system_dialogs(&dialogs); }
  ~InstalledDialogs() { set_system_dialogs(nullptr); }
  ScriptedDialogs dialogs;
};

} // namespace lumbrix::test
