#include "ui/about_window.h"

#include "build_constants.h"
#include "engine/settings/product.h"
#include "prefs/builtin_images.h"
#include "prefs/message_boxes.h"
#include "text/lang.h"
#include "ui/link_widget.h"
#include "ui/window_flags.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>

namespace lumbrix {
namespace {

QPointer<AboutWindow> open_window;

QString about_text(const char *key) {
  return lang(QStringLiteral("About"), QString::fromLatin1(key));
}

// The program's one main window, found without reaching into the window front; whatever window
// is active when there is none.
QWidget *about_owner() {
  for (QWidget *widget : QApplication::topLevelWidgets()) {
    if (qobject_cast<QMainWindow *>(widget))
      return widget;
  }
  return QApplication::activeWindow();
}

// A gradient strip with the product's name and the conversion arrow.
QPixmap about_banner(int width, int height) {
  QPixmap banner(width, height);
  QPainter painter(&banner);
  QLinearGradient sky(0, 0, width, 0);
  sky.setColorAt(0, QColor(0x12, 0x2a, 0x5c));
  sky.setColorAt(1, QColor(0x3f, 0x7f, 0xd0));
  painter.fillRect(banner.rect(), sky);
  const int icon = height - 8;
  painter.drawImage(QPoint(width - icon - 8, 4), builtin_image(QStringLiteral("Convert"), icon));
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(height / 2);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(12, 0, width - icon - 28, height), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromLatin1(product_title));
  return banner;
}

} // namespace

AboutWindow::AboutWindow(QWidget *owner) : QDialog(owner) {
  setWindowFlags(small_window_flags);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::WindowModal);
  setWindowTitle(about_text("Title"));
  setFixedSize(360, 240);

  auto *banner = new QLabel(this);
  banner->setGeometry(0, 0, 360, 40);
  banner->setPixmap(about_banner(360, 40));
  auto *frame = new QFrame(this);
  frame->setGeometry(0, 40, 360, 150);
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame->setLineWidth(1);

  add_line(window_title(), QRect(20, 50, 320, 20), Qt::AlignCenter);
  add_line(QString::fromUtf8(build::about_line), QRect(20, 70, 320, 20), Qt::AlignCenter);
  add_line(about_text("Website"), QRect(80, 100, 60, 20), Qt::AlignLeft | Qt::AlignVCenter);
  add_line(about_text("Email"), QRect(80, 120, 50, 20), Qt::AlignLeft | Qt::AlignVCenter);

  const QString site = QString::fromUtf8(build::vendor_site);
  const QString mailbox = QString::fromUtf8(build::support_mail);
  web_link_ = new LinkWidget(site, this);
  web_link_->setGeometry(140, 100, 215, 20);
  connect(web_link_, &LinkWidget::clicked, this, [site] { open_or_report(site); });
  mail_link_ = new LinkWidget(mailbox, this);
  mail_link_->setGeometry(140, 120, 215, 20);
  connect(mail_link_, &LinkWidget::clicked, this,
          [mailbox] { open_or_report(QLatin1String("mailto:") + mailbox); });

  // As the default button OK takes Return; QDialog maps Escape to reject.
  ok_ = new QPushButton(lang(QStringLiteral("Dialog"), QStringLiteral("OK")), this);
  ok_->setGeometry(140, 200, 80, 25);
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
  if (owner)
    connect(this, &QDialog::finished, owner, [owner] { owner->activateWindow(); });
}

void AboutWindow::add_line(const QString &text, const QRect &place, Qt::Alignment alignment) {
  auto *label = new QLabel(text, this);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(alignment);
  label->setGeometry(place);
}

AboutWindow *open_about() {
  if (open_window) {
    open_window->raise();
  } else {
    open_window = new AboutWindow(about_owner());
    open_window->show();
  }
  open_window->activateWindow();
  open_window->ok_button()->setFocus();
  return open_window;
}

} // namespace lumbrix
