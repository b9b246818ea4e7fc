#include "sketch_style.h"

#include <QHash>
#include <QPainter>

#include <cmath>

namespace {

const QColor ink(0x33, 0x2C, 0x29);
const QColor cream(0xFF, 0xF4, 0xDC);

// Grid units are sixteenths of the icon; the wobble stays the same share of the icon at every
// size, so a 16 pixel icon is barely touched and a 64 pixel one looks drawn by hand.
constexpr qreal wobble_amplitude = 0.22;
constexpr qreal wobble_step = 0.8; // longest straight piece before it bends

QColor marker(const QColor &fill) {
  const qreal keep = 0.88;
  return QColor::fromRgbF(float(fill.redF() * keep + cream.redF() * (1 - keep)),
                          float(fill.greenF() * keep + cream.greenF() * (1 - keep)),
                          float(fill.blueF() * keep + cream.blueF() * (1 - keep)), fill.alphaF());
}

} // namespace

SketchStyle::SketchStyle(int pixels, unsigned seed) : pixels_(pixels), seed_(seed) {}

qreal SketchStyle::ink_width() const {
  const qreal pixel_width = std::max(1.1, pixels_ * 0.055);
  return pixel_width * 16.0 / pixels_;
}

// Moves every point of the path through a smooth displacement field of its own, after cutting
// long straight pieces so that they bend too. Closed outlines stay closed.
QPainterPath SketchStyle::wobble(const QPainterPath &path) {
  const qreal phase = (seed_ % 997) * 0.37 + part_++ * 1.91;
  const auto shift = [&](QPointF p) {
    return p + QPointF(std::sin(p.x() * 0.9 + p.y() * 0.45 + phase),
                       std::cos(p.y() * 0.8 - p.x() * 0.5 + phase * 1.3)) *
                   wobble_amplitude;
  };
  QPainterPath result;
  result.setFillRule(path.fillRule());
  // Flattened at a finer scale than the grid, so that small circles stay round.
  const QTransform fine = QTransform::fromScale(8, 8);
  for (const QPolygonF &fine_piece : path.toSubpathPolygons(fine)) {
    const QPolygonF piece = fine.inverted().map(fine_piece);
    QPolygonF bent;
    for (qsizetype i = 0; i < piece.size(); ++i) {
      if (i > 0) {
        const QPointF from = piece[i - 1], to = piece[i];
        const int cuts = int(std::hypot(to.x() - from.x(), to.y() - from.y()) / wobble_step);
        for (int c = 1; c <= cuts; ++c)
          bent << shift(from + (to - from) * (qreal(c) / (cuts + 1)));
      }
      bent << shift(piece[i]);
    }
    result.addPolygon(bent);
    if (piece.isClosed())
      result.closeSubpath();
  }
  return result;
}

void SketchStyle::stroke(QPainter &painter, const QPainterPath &path, const QColor &colour,
                         qreal width) {
  painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(path);
}

// Crayon strokes across a part, kept inside it.
void SketchStyle::hatch(QPainter &painter, const QPainterPath &area, const QColor &fill) {
  QPainterPath strokes;
  for (qreal d = -16; d < 16; d += 1.6) {
    strokes.moveTo(d, 16);
    strokes.lineTo(d + 16, 0);
  }
  painter.save();
  painter.setClipPath(area, Qt::IntersectClip);
  QColor shade = fill.darker(115);
  shade.setAlpha(90);
  stroke(painter, wobble(strokes), shade, 0.3);
  painter.restore();
}

void SketchStyle::shape(QPainter &painter, const QPainterPath &path, const QColor &fill) {
  const QColor colour = marker(fill);
  // The colour is laid a little off the line, as a marker would.
  const QPainterPath colour_area = wobble(path).translated(0.18, 0.22);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  painter.drawPath(colour_area);
  if (detailed())
    hatch(painter, colour_area, colour);
  stroke(painter, wobble(path), ink, ink_width());
  if (detailed()) {
    QColor pencil = ink;
    pencil.setAlphaF(0.45f);
    stroke(painter, wobble(path), pencil, ink_width() * 0.45);
  }
}

void SketchStyle::patch(QPainter &painter, const QPainterPath &path, const QColor &fill) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(marker(fill));
  painter.drawPath(wobble(path));
}

void SketchStyle::line(QPainter &painter, const QPainterPath &path, const QColor &colour,
                       qreal width) {
  const QPainterPath drawn = wobble(path);
  stroke(painter, drawn, ink, width + 2 * ink_width());
  stroke(painter, drawn, marker(colour), width);
}

void SketchStyle::mark(QPainter &painter, const QPainterPath &path, const QColor &colour,
                       qreal width) {
  stroke(painter, wobble(path), colour, width);
}

void paint_sketch(QPainter &painter, const QString &name, int size) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  // A small margin keeps the wobbling ink inside the picture.
  painter.translate(size * 0.03, size * 0.03);
  painter.scale(size / 16.0 * 0.94, size / 16.0 * 0.94);
  SketchStyle style(size, unsigned(qHash(name)));
  lumbrix::draw_pictogram(painter, name, style);
  painter.restore();
}
