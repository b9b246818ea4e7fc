#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace lumbrix {

// The page "-U" shows: one check box, ticked at start, and Next. Next with the box ticked opens
// the vendor's uninstall page; either way Next leaves. The close box and Escape leave without
// opening anything.
class UninstallWindow : public QDialog {
  Q_OBJECT

public:
  UninstallWindow();

  QCheckBox *visit_box() const { return visit_; }
  QPushButton *next_button() const { return next_; }

  void next();

private:
  QCheckBox *visit_ = nullptr;
  QPushButton *next_ = nullptr;
};

// The vendor's uninstall page.
QString uninstall_address();

// Shows the uninstall page and runs its own event loop until it is left ("-U"). Needs a running
// QApplication.
void show_uninstall_page();

} // namespace lumbrix
