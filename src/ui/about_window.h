#pragma once

#include <QDialog>

class QPushButton;

namespace lumbrix {

class LinkWidget;

// Title, version and the two ways to reach the vendor: the web site and the support mailbox.
// Window-modal over its owner; OK, Return, Escape and the close box close it, and the owner gets
// the focus back.
class AboutWindow : public QDialog {
  Q_OBJECT

public:
  explicit AboutWindow(QWidget *owner);

  LinkWidget *web_link() const { return web_link_; }
  LinkWidget *mail_link() const { return mail_link_; }
  QPushButton *ok_button() const { return ok_; }

private:
  void add_line(const QString &text, const QRect &place, Qt::Alignment alignment);

  LinkWidget *web_link_ = nullptr;
  LinkWidget *mail_link_ = nullptr;
  QPushButton *ok_ = nullptr;
};

// Builds and shows the About window over the main window (Help/About); returns at once. While one
// is open it is brought to the front instead of building a second.
AboutWindow *open_about();

} // namespace lumbrix
