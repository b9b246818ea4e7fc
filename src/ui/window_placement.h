#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

namespace lumbrix {

// Where a restored window goes so that all of it can be seen. `stored` is the window as the
// settings keep it: its top-left is the outer corner (frame included), its size the inner size;
// `frame` is what the desktop adds around the inner size; `screens` are the screens' available
// areas. The window moves onto the screen holding most of it (the nearest screen when none holds
// any), shrinks to that screen where it is larger, but not below `minimum`, and otherwise moves
// as little as it can. Without screens it stays as it is.
QRect fit_onto_screens(const QRect &stored, const QMargins &frame, const QList<QRect> &screens,
                       QSize minimum);

} // namespace lumbrix
