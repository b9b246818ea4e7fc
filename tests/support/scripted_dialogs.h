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
  QString choose_folder(const QString &title, const QString &initial_folder) override {
    folder_requests.append({MessageIcon::Information, title, initial_folder});
    return next_folder;
  }
  std::optional<QColor> choose_colour(const QColor &) override { return std::nullopt; }
  std::optional<QFont> choose_font(const QFont &) override { return std::nullopt; }
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
  QString next_folder;
};

// Installs itself for the life of the object.
class InstalledDialogs {
public:
  InstalledDialogs() { set_system_dialogs(&dialogs); }
  ~InstalledDialogs() { set_system_dialogs(nullptr); }
  ScriptedDialogs dialogs;
};

} // namespace lumbrix::test
