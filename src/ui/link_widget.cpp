#include "ui/link_widget.h"

#include <QMouseEvent>

namespace lumbrix {

LinkWidget::LinkWidget(const QString &text, QWidget *parent) : QLabel(text, parent) {
  // Plain text: an address must never be read as markup.
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
  setPalette(colours);
}

void LinkWidget::mousePressEvent(QMouseEvent *event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

// Like a button: pressing and then moving off the text before releasing opens nothing.
void LinkWidget::mouseReleaseEvent(QMouseEvent *event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click)
    emit clicked();
}

} // namespace lumbrix
