#include "ui/finder_window.h"

#include "build_constants.h"
#include "prefs/message_boxes.h"
#include "text/lang.h"
#include "ui/main_window.h"
#include "ui/window_flags.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lumbrix {
namespace {

QString text(const char *key) {
  return lang(QStringLiteral("Custom-Converter"), QString::fromLatin1(key));
}

bool is_letter_or_digit(QChar c) {
  return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

} // namespace

FinderWindow::FinderWindow(QWidget *owner) : QDialog(owner) {
  setWindowFlags(small_window_flags);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::WindowModal);
  setWindowTitle(text("Title"));
  setFixedSize(370, 60);
  (new QLabel(text("From"), this))->setGeometry(10, 23, 40, 20);
  from_ = new QLineEdit(this);
  from_->setGeometry(50, 20, 80, 20);
  (new QLabel(text("To"), this))->setGeometry(150, 23, 30, 20);
  to_ = new QLineEdit(this);
  to_->setGeometry(180, 20, 80, 20);
  search_ = new QPushButton(text("Search"), this);
  search_->setGeometry(280, 18, 80, 25);
  search_->setDefault(true);
  connect(search_, &QPushButton::clicked, this, &FinderWindow::search);
  if (owner)
    connect(this, &QDialog::finished, owner, [owner] { owner->activateWindow(); });
}

void FinderWindow::search() {
  const QString from = finder_extension(from_->text());
  const QString to = finder_extension(to_->text());
  if (from.isEmpty() || to.isEmpty()) {
    show_warning(lang(QStringLiteral("Msg"), QStringLiteral("Empty extensions")));
    return;
  }
  hide();
  open_or_report(finder_address(from, to));
  close();
}

FinderWindow *open_finder(QWidget *owner) {
  auto *finder = new FinderWindow(owner ? owner : main_window());
  finder->show();
  finder->activateWindow();
  finder->from_field()->setFocus();
  return finder;
}

QString letters_and_digits(const QString &text) {
  QString result;
  for (const QChar c : text) {
    if (is_letter_or_digit(c))
      result += c;
  }
  return result;
}

QString finder_extension(const QString &field) {
  return letters_and_digits(field.toLower().left(12));
}

QString finder_address(const QString &from, const QString &to) {
  return QString::fromUtf8(build::vendor_site) + QLatin1String("/find/") + from + QLatin1Char('-') +
         to + QLatin1Char('/');
}

} // namespace lumbrix
