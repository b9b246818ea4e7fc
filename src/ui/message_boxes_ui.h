#pragma once

#include "prefs/message_boxes.h"

namespace lumbrix {

// The real dialogs: Qt message boxes, file, folder, colour and font dialogs over the active
// window, and the desktop's "open" handler.
class WidgetDialogs final : public SystemDialogs {
public:
  void message(MessageIcon icon, const QString &title, const QString &text) override;
  bool question(MessageIcon icon, const QString &title, const QString &text) override;
  QString open_file(const QString &title, const QString &filter,
                    const QString &initial_file) override;
  QStringList open_files(const QString &title, const QString &filter,
                         const QString &initial_file) override;
  QString choose_folder(const QString &title, const QString &initial_folder) override;
  std::optional<QColor> choose_colour(const QColor &initial) override;
  std::optional<QFont> choose_font(const QFont &initial) override;
  std::optional<QString> ask_text(const QString &title, const QString &label,
                                  const QString &initial) override;
  void open_url(const QString &target, std::function<void(bool opened)> done) override;
};

} // namespace lumbrix
