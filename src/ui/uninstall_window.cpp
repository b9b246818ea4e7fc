#include "ui/uninstall_window.h"

#include "build_constants.h"
#include "prefs/message_boxes.h"
#include "text/lang.h"
#include "ui/message_boxes_ui.h"
#include "ui/window_flags.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace lumbrix {
namespace {

QString uninstall_text(const char *key) {
  return lang(QStringLiteral("Uninstall"), QString::fromLatin1(key));
}

} // namespace

UninstallWindow::UninstallWindow() {
  setWindowFlags(small_window_flags);
  setWindowTitle(uninstall_text("Title"));
  setFixedSize(300, 100);
  visit_ = new QCheckBox(uninstall_text("Uninstall Text"), this);
  visit_->setGeometry(30, 20, 250, 20);
  visit_->setChecked(true);
  next_ = new QPushButton(uninstall_text("Next"), this);
  next_->setGeometry(200, 60, 80, 25);
  next_->setDefault(true);
  connect(next_, &QPushButton::clicked, this, &UninstallWindow::next);
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
}

void UninstallWindow::next() {
  if (visit_->isChecked())
    open_or_report(uninstall_address());
  accept();
}

QString uninstall_address() {
  return QString::fromUtf8(build::vendor_site) + QLatin1String("/Lumbrix/uninstall.html");
}

void show_uninstall_page() {
  // "-U" runs before the window front installs the desktop's dialogs; bring them for the page
  // unless some are installed already.
  WidgetDialogs desktop;
  SystemDialogs *previous = set_system_dialogs(&desktop);
  if (previous)
    set_system_dialogs(previous);
  UninstallWindow page;
  page.exec();
  set_system_dialogs(previous);
}

} // namespace lumbrix
