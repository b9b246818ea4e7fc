#include "ui/message_boxes_ui.h"

#include "platform/open_document.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace lumbrix {
namespace {

QMessageBox::Icon box_icon(MessageIcon icon) {
  switch (icon) {
  case MessageIcon::Warning:
    return QMessageBox::Warning;
  case MessageIcon::Error:
    return QMessageBox::Critical;
  case MessageIcon::Question:
    return QMessageBox::Question;
  case MessageIcon::Information:
    break;
  }
  return QMessageBox::Information;
}

// Texts of the language table break lines with CR LF; a Qt label wants LF.
QString box_text(const QString &text) {
  QString result = text;
  return result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

int run_box(MessageIcon icon, const QString &title, const QString &text,
            QMessageBox::StandardButtons buttons) {
  QMessageBox box(box_icon(icon), title, box_text(text), buttons, QApplication::activeWindow());
  return box.exec();
}

QStringList chosen_files(const QString &title, const QString &filter, const QString &initial_file,
                         QFileDialog::FileMode mode) {
  QFileDialog dialog(QApplication::activeWindow(), title);
  dialog.setFileMode(mode);
  dialog.setNameFilters(name_filters(filter));
  if (!initial_file.isEmpty())
    dialog.selectFile(initial_file);
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

} // namespace

void WidgetDialogs::message(MessageIcon icon, const QString &title, const QString &text) {
  run_box(icon, title, text, QMessageBox::Ok);
}

bool WidgetDialogs::question(MessageIcon icon, const QString &title, const QString &text) {
  return run_box(icon, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

QString WidgetDialogs::open_file(const QString &title, const QString &filter,
                                 const QString &initial_file) {
  return chosen_files(title, filter, initial_file, QFileDialog::ExistingFile).value(0);
}

QStringList WidgetDialogs::open_files(const QString &title, const QString &filter,
                                      const QString &initial_file) {
  return chosen_files(title, filter, initial_file, QFileDialog::ExistingFiles);
}

QString WidgetDialogs::choose_folder(const QString &title, const QString &initial_folder) {
  return QFileDialog::getExistingDirectory(QApplication::activeWindow(), title, initial_folder);
}

std::optional<QString> WidgetDialogs::ask_text(const QString &title, const QString &label,
                                               const QString &initial) {
  bool ok = false;
  const QString text = QInputDialog::getText(QApplication::activeWindow(), title, label,
                                             QLineEdit::Normal, initial, &ok);
  if (!ok)
    return std::nullopt;
  return text;
}

std::optional<QColor> WidgetDialogs::choose_colour(const QColor &initial) {
  const QColor colour = QColorDialog::getColor(initial, QApplication::activeWindow());
  if (!colour.isValid())
    return std::nullopt;
  return colour;
}

std::optional<QFont> WidgetDialogs::choose_font(const QFont &initial) {
  bool chosen = false;
  const QFont font = QFontDialog::getFont(&chosen, initial, QApplication::activeWindow());
  if (!chosen)
    return std::nullopt;
  return font;
}

void WidgetDialogs::open_url(const QString &target, std::function<void(bool opened)> done) {
  open_document(target, std::move(done));
}

} // namespace lumbrix
