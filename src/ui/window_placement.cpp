#include "ui/window_placement.h"

#include <QPoint>

#include <algorithm>
#include <limits>

namespace lumbrix {
namespace {

qint64 area(const QRect &rect) { return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height(); }

qint64 distance(const QRect &a, const QRect &b) {
  const QPoint d = a.center() - b.center();
  return qint64(d.x()) * d.x() + qint64(d.y()) * d.y();
}

QRect best_screen(const QRect &outer, const QList<QRect> &screens) {
  QRect best = screens.constFirst();
  qint64 best_area = -1;
  qint64 best_distance = std::numeric_limits<qint64>::max();
  for (const QRect &screen : screens) {
    const qint64 shared = area(outer & screen);
    const qint64 apart = distance(outer, screen);
    if (shared > best_area || (shared == best_area && apart < best_distance)) {
      best = screen;
      best_area = shared;
      best_distance = apart;
    }
  }
  return best;
}

// The start of a span of length `size` moved as little as possible into [low, low + room).
int clamp_start(int start, int size, int low, int room) {
  return std::max(low, std::min(start, low + room - size));
}

} // namespace

QRect fit_onto_screens(const QRect &stored, const QMargins &frame, const QList<QRect> &screens,
                       QSize minimum) {
  if (screens.isEmpty())
    return stored;
  const int frame_width = frame.left() + frame.right();
  const int frame_height = frame.top() + frame.bottom();
  const QRect outer(stored.topLeft(),
                    QSize(stored.width() + frame_width, stored.height() + frame_height));
  const QRect screen = best_screen(outer, screens);
  const QSize inner(
      std::max(minimum.width(), std::min(stored.width(), screen.width() - frame_width)),
      std::max(minimum.height(), std::min(stored.height(), screen.height() - frame_height)));
  const int x = clamp_start(stored.x(), inner.width() + frame_width, screen.x(), screen.width());
  const int y = clamp_start(stored.y(), inner.height() + frame_height, screen.y(), screen.height());
  return QRect(QPoint(x, y), inner);
}

} // namespace lumbrix
