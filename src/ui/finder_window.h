#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace lumbrix {

// "Find a File Converter": two extensions, From and To; Search opens the vendor's page of
// converters between them. The main window takes no input while it is open.
class FinderWindow : public QDialog {
  Q_OBJECT

public:
  explicit FinderWindow(QWidget *owner);

  QLineEdit *from_field() const { return from_; }
  QLineEdit *to_field() const { return to_; }
  QPushButton *search_button() const { return search_; }

  // The Search button and Return.
  void search();

private:
  QLineEdit *from_ = nullptr;
  QLineEdit *to_ = nullptr;
  QPushButton *search_ = nullptr;
};

// Opens the finder over the main window (or the given owner); returns at once.
FinderWindow *open_finder(QWidget *owner = nullptr);

// The ASCII letters and digits of text, in order.
QString letters_and_digits(const QString &text);

// How a finder field becomes part of the address: lower-cased, cut to 12 characters, then only
// its letters and digits.
QString finder_extension(const QString &field);

// The vendor's page of converters from one extension to another.
QString finder_address(const QString &from, const QString &to);

} // namespace lumbrix
