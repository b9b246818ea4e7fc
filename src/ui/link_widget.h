#pragma once

#include <QLabel>

namespace lumbrix {

// A line of text drawn as a link: blue, blue when hovered, a pointing hand over it. A left click
// released over the text emits clicked; what it opens is the owner's business.
class LinkWidget : public QLabel {
  Q_OBJECT

public:
  LinkWidget(const QString &text, QWidget *parent);

signals:
  void clicked();

protected:
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

private:
  bool pressed_ = false;
};

} // namespace lumbrix
