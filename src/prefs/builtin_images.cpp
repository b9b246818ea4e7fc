#include "prefs/builtin_images.h"

#include "prefs/image_tables.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QtMath>

#include <algorithm>
#include <initializer_list>

namespace lumbrix {
namespace {

// The pictograms' colours.
constexpr QRgb paper = 0xFFFFFFFF;
constexpr QRgb paper_fold = 0xFFD9DEE6;
constexpr QRgb folder_back = 0xFFE9A932;
constexpr QRgb folder_front = 0xFFF7C948;
constexpr QRgb green = 0xFF3DAA4F;
constexpr QRgb blue = 0xFF3A86D6;
constexpr QRgb red = 0xFFE0483E;
constexpr QRgb orange = 0xFFF08A24;
constexpr QRgb teal = 0xFF2BB3A6;
constexpr QRgb yellow = 0xFFFFD23F;
constexpr QRgb steel = 0xFF8FA0B5;
constexpr QRgb wood = 0xFFC07A3E;
constexpr QRgb sky = 0xFF8FD0F5;
constexpr QRgb hill = 0xFF52B35E;
constexpr QRgb sea = 0xFF5DADE2;
constexpr QRgb ink_grey = 0xFF6A7A8C;
constexpr QRgb white = 0xFFFFFFFF;

QPainterPath polygon(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(points));
  path.closeSubpath();
  return path;
}

QPainterPath circle(QPointF centre, qreal radius) {
  QPainterPath path;
  path.addEllipse(centre, radius, radius);
  return path;
}

QPainterPath box(qreal left, qreal top, qreal right, qreal bottom) {
  QPainterPath path;
  path.addRect(QRectF(QPointF(left, top), QPointF(right, bottom)));
  return path;
}

QPainterPath polyline(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(points));
  return path;
}

// The outline of a stroke along path, to be filled as a part of its own.
QPainterPath thick(const QPainterPath &path, qreal width, Qt::PenCapStyle cap = Qt::RoundCap) {
  QPainterPathStroker stroker;
  stroker.setWidth(width);
  stroker.setCapStyle(cap);
  stroker.setJoinStyle(Qt::RoundJoin);
  return stroker.createStroke(path).simplified();
}

QPainterPath arrow(QPointF from, QPointF to, qreal shaft, qreal head_width, qreal head_length) {
  const QPointF along = to - from;
  const QPointF d = along / std::hypot(along.x(), along.y());
  const QPointF n(-d.y(), d.x());
  const QPointF base = to - d * head_length;
  return polygon({from + n * shaft / 2, base + n * shaft / 2, base + n * head_width / 2, to,
                  base - n * head_width / 2, base - n * shaft / 2, from - n * shaft / 2});
}

QPainterPath star(QPointF centre, qreal outer, qreal inner, int points) {
  QPolygonF corners;
  for (int i = 0; i < 2 * points; ++i) {
    const qreal angle = qDegreesToRadians(-90.0 + i * 180.0 / points);
    const qreal radius = i % 2 ? inner : outer;
    corners << centre + QPointF(std::cos(angle), std::sin(angle)) * radius;
  }
  QPainterPath path;
  path.addPolygon(corners);
  path.closeSubpath();
  return path;
}

using Style = PictogramStyle;

void page(QPainter &p, Style &s, QRectF r, qreal fold = 3) {
  const qreal l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
  s.shape(p, polygon({{l, t}, {rt - fold, t}, {rt, t + fold}, {rt, b}, {l, b}}), paper);
  s.shape(p, polygon({{rt - fold, t}, {rt - fold, t + fold}, {rt, t + fold}}), paper_fold);
}

void text_lines(QPainter &p, Style &s, QRectF area, int count) {
  QPainterPath lines;
  const qreal step = count > 1 ? area.height() / (count - 1) : 0;
  for (int i = 0; i < count; ++i) {
    const qreal y = area.top() + i * step;
    const qreal right = i == count - 1 ? area.left() + area.width() * 0.6 : area.right();
    lines.moveTo(area.left(), y);
    lines.lineTo(right, y);
  }
  s.mark(p, lines, ink_grey, 1.0);
}

void picture(QPainter &p, Style &s, QRectF a) {
  const qreal w = a.width(), h = a.height();
  s.patch(p, box(a.left(), a.top(), a.right(), a.bottom()), sky);
  s.patch(p, circle({a.left() + w * 0.72, a.top() + h * 0.3}, std::min(w, h) * 0.17), yellow);
  s.patch(p,
          polygon({a.bottomLeft(),
                   {a.left() + w * 0.35, a.top() + h * 0.42},
                   {a.left() + w * 0.6, a.top() + h * 0.72},
                   {a.left() + w * 0.78, a.top() + h * 0.55},
                   a.bottomRight()}),
          hill);
}

void folder(QPainter &p, Style &s, QRectF r) {
  const qreal l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();
  s.shape(p, polygon({{l, t}, {l + 5, t}, {l + 6.5, t + 1.5}, {rt, t + 1.5}, {rt, b}, {l, b}}),
          folder_back);
  s.shape(p, polygon({{l, t + 4}, {rt, t + 4}, {rt, b}, {l, b}}), folder_front);
}

// Arms three units wide on whole grid lines, so the 16 pixel cross keeps sharp edges.
void plus(QPainter &p, Style &s, QPointF c) {
  QPainterPath cross;
  cross.moveTo(c.x() - 3.5, c.y());
  cross.lineTo(c.x() + 3.5, c.y());
  cross.moveTo(c.x(), c.y() - 3.5);
  cross.lineTo(c.x(), c.y() + 3.5);
  s.shape(p, thick(cross, 3, Qt::FlatCap), green);
}

void disc_glyph(QPainter &p, Style &s, QRgb colour) { s.shape(p, circle({8, 8}, 7), colour); }

// An arc of a circle (Qt angles: degrees, counter-clockwise from three o'clock) with a head at
// its end.
void arc_arrow(QPainter &p, Style &s, QPointF c, qreal radius, qreal start, qreal span) {
  QPainterPath arc;
  const QRectF bounds(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
  arc.arcMoveTo(bounds, start);
  arc.arcTo(bounds, start, span);
  s.line(p, arc, green, 1.8);
  const qreal end = qDegreesToRadians(start + span);
  const QPointF radial(std::cos(end), -std::sin(end));
  const QPointF tangent(-std::sin(end), -std::cos(end));
  const QPointF at = c + radial * radius;
  s.shape(p,
          polygon({at + tangent * 3.2, at + radial * 2.9 - tangent * 0.4,
                   at - radial * 2.9 - tangent * 0.4}),
          green);
}

void draw_new(QPainter &p, Style &s) {
  page(p, s, QRectF(QPointF(3.5, 1.5), QPointF(12.5, 14.5)));
  s.shape(p, star({11.5, 11.5}, 4.4, 1.6, 4), yellow);
}

void draw_add(QPainter &p, Style &s) {
  page(p, s, QRectF(QPointF(2.5, 1.5), QPointF(11.5, 14.5)));
  text_lines(p, s, QRectF(QPointF(4.5, 5.5), QPointF(9.5, 8.5)), 2);
  plus(p, s, {12, 12});
}

void draw_in_files(QPainter &p, Style &s) {
  page(p, s, QRectF(QPointF(5.5, 0.5), QPointF(14.5, 11.5)), 2.5);
  page(p, s, QRectF(QPointF(1.5, 3.5), QPointF(10.5, 15.5)), 2.5);
  picture(p, s, QRectF(QPointF(3, 7.5), QPointF(9, 14)));
}

void draw_in_folder(QPainter &p, Style &s) {
  folder(p, s, QRectF(QPointF(0.5, 2.5), QPointF(13.5, 13.5)));
  plus(p, s, {12, 12});
}

void draw_out_folder(QPainter &p, Style &s) {
  folder(p, s, QRectF(QPointF(0.5, 3.5), QPointF(12.5, 14.5)));
  s.shape(p, arrow({6, 11}, {15.3, 1.7}, 2.6, 6.4, 4.4), blue);
}

void draw_out_format(QPainter &p, Style &s) {
  const QRgb layers[] = {blue, teal, orange};
  qreal y = 11.5;
  for (QRgb colour : layers) {
    s.shape(p, polygon({{8, y - 3.5}, {15, y}, {8, y + 3.5}, {1, y}}), colour);
    y -= 3.5;
  }
}

void draw_fav_folder(QPainter &p, Style &s) {
  folder(p, s, QRectF(QPointF(0.5, 2.5), QPointF(13.5, 13.5)));
  s.shape(p, star({11.3, 10.9}, 5.4, 2.4, 5), orange);
}

void draw_import_files(QPainter &p, Style &s) {
  page(p, s, QRectF(QPointF(5.5, 1.5), QPointF(14.5, 14.5)));
  text_lines(p, s, QRectF(QPointF(8.5, 5.5), QPointF(12.5, 12.5)), 4);
  s.shape(p, arrow({0.5, 8.5}, {9.5, 8.5}, 3, 7.4, 4.6), green);
}

void draw_export_files(QPainter &p, Style &s) {
  page(p, s, QRectF(QPointF(1.5, 1.5), QPointF(10.5, 14.5)));
  text_lines(p, s, QRectF(QPointF(3.5, 5.5), QPointF(7.5, 12.5)), 4);
  s.shape(p, arrow({6.5, 8.5}, {15.5, 8.5}, 3, 7.4, 4.6), blue);
}

void draw_exit(QPainter &p, Style &s) {
  s.shape(p, box(2.5, 1.5, 10.5, 14.5), wood);
  s.patch(p, circle({8.6, 8.5}, 0.9), yellow);
  s.shape(p, arrow({7.5, 8.5}, {15.5, 8.5}, 2.8, 7, 4.2), red);
}

void draw_copy(QPainter &p, Style &s) {
  page(p, s, QRectF(QPointF(1.5, 0.5), QPointF(10.5, 11.5)), 2.5);
  page(p, s, QRectF(QPointF(5.5, 4.5), QPointF(14.5, 15.5)), 2.5);
  text_lines(p, s, QRectF(QPointF(7.5, 8.5), QPointF(12.5, 13)), 3);
}

void draw_delete(QPainter &p, Style &s) {
  QPainterPath cross;
  cross.moveTo(3.5, 3.5);
  cross.lineTo(12.5, 12.5);
  cross.moveTo(12.5, 3.5);
  cross.lineTo(3.5, 12.5);
  s.shape(p, thick(cross, 3.6), red);
}

void draw_select_all(QPainter &p, Style &s) {
  QPainterPath dashes;
  const qreal lo = 1.5, hi = 14.5;
  for (qreal at = lo; at < hi; at += 3.25) {
    const qreal to = std::min(at + 1.75, hi);
    for (const auto &[a, b] :
         {std::pair{QPointF(at, lo), QPointF(to, lo)}, std::pair{QPointF(at, hi), QPointF(to, hi)},
          std::pair{QPointF(lo, at), QPointF(lo, to)},
          std::pair{QPointF(hi, at), QPointF(hi, to)}}) {
      dashes.moveTo(a);
      dashes.lineTo(b);
    }
  }
  s.mark(p, dashes, ink_grey, 1.0);
  s.line(p, polyline({{4.5, 8.5}, {7, 11}, {11.8, 5}}), green, 2.4);
}

void draw_convert(QPainter &p, Style &s) { s.shape(p, arrow({1, 8}, {15, 8}, 5, 12, 6.5), green); }

void draw_error(QPainter &p, Style &s) {
  disc_glyph(p, s, red);
  s.mark(p, polyline({{8, 4.2}, {8, 8.8}}), white, 2.2);
  s.patch(p, circle({8, 11.8}, 1.25), white);
}

void draw_preferences(QPainter &p, Style &s) {
  QPolygonF teeth;
  for (int i = 0; i < 8; ++i) {
    const qreal base = i * 45.0;
    for (const auto &[angle, radius] : {std::pair{base - 15.0, 5.4}, std::pair{base - 8.0, 7.3},
                                        std::pair{base + 8.0, 7.3}, std::pair{base + 15.0, 5.4}}) {
      const qreal a = qDegreesToRadians(angle);
      teeth << QPointF(8 + radius * std::cos(a), 8 + radius * std::sin(a));
    }
  }
  QPainterPath gear;
  gear.addPolygon(teeth);
  gear.closeSubpath();
  gear.addEllipse(QPointF(8, 8), 2.3, 2.3);
  gear.setFillRule(Qt::OddEvenFill);
  s.shape(p, gear, steel);
}

void draw_custom_converter(QPainter &p, Style &s) {
  const QPointF head(10.3, 5.7);
  const QPointF d(M_SQRT1_2, -M_SQRT1_2);
  const QPointF n(M_SQRT1_2, M_SQRT1_2);
  const QPainterPath jaw =
      polygon({head + n * 1.5, head + n * 1.5 + d * 6, head - n * 1.5 + d * 6, head - n * 1.5});
  const QPainterPath handle = thick(polyline({{9, 7}, {2.8, 13.2}}), 3.4);
  s.shape(p, circle(head, 4.4).united(handle).subtracted(jaw), steel);
  s.shape(p, star({12.6, 12.6}, 3.4, 1.3, 4), orange);
}

void draw_help(QPainter &p, Style &s) {
  disc_glyph(p, s, blue);
  QPainterPath hook;
  hook.moveTo(5.6, 6.1);
  hook.cubicTo(5.6, 2.9, 10.4, 2.9, 10.4, 6.1);
  hook.cubicTo(10.4, 7.9, 8, 7.9, 8, 9.9);
  s.mark(p, hook, white, 2.0);
  s.patch(p, circle({8, 12.5}, 1.25), white);
}

void draw_email(QPainter &p, Style &s) {
  s.shape(p, box(1.5, 3.5, 14.5, 12.5), paper);
  s.mark(p, polyline({{1.5, 3.5}, {8, 8.8}, {14.5, 3.5}}), ink_grey, 1.0);
}

void draw_web(QPainter &p, Style &s) {
  s.shape(p, circle({8, 8}, 7), sea);
  QPainterPath grid;
  grid.addEllipse(QPointF(8, 8), 3, 7);
  grid.moveTo(1, 8);
  grid.lineTo(15, 8);
  grid.moveTo(2.4, 4.5);
  grid.lineTo(13.6, 4.5);
  grid.moveTo(2.4, 11.5);
  grid.lineTo(13.6, 11.5);
  s.mark(p, grid, white, 0.9);
}

void draw_updates(QPainter &p, Style &s) {
  arc_arrow(p, s, {8, 8}, 5.3, 40, 115);
  arc_arrow(p, s, {8, 8}, 5.3, 220, 115);
}

void draw_about(QPainter &p, Style &s) {
  disc_glyph(p, s, blue);
  s.patch(p, circle({8, 4.6}, 1.3), white);
  s.mark(p, polyline({{8, 7.3}, {8, 12.2}}), white, 2.2);
}

struct Pictogram {
  const char *name;
  void (*draw)(QPainter &, Style &);
};

constexpr Pictogram pictograms[] = {
    {"New", draw_new},
    {"Add", draw_add},
    {"InFiles", draw_in_files},
    {"InFolder", draw_in_folder},
    {"OutFolder", draw_out_folder},
    {"OutFormat", draw_out_format},
    {"FavFolder", draw_fav_folder},
    {"ImportFiles", draw_import_files},
    {"ExportFiles", draw_export_files},
    {"Exit", draw_exit},
    {"Copy", draw_copy},
    {"Delete", draw_delete},
    {"SelectAll", draw_select_all},
    {"Convert", draw_convert},
    {"Error", draw_error},
    {"Preferences", draw_preferences},
    {"CustomConverter", draw_custom_converter},
    {"Help", draw_help},
    {"Email", draw_email},
    {"Web", draw_web},
    {"Updates", draw_updates},
    {"About", draw_about},
};

QColor outline_of(const QColor &fill) {
  float hue, saturation, lightness, alpha;
  fill.getHslF(&hue, &saturation, &lightness, &alpha);
  return QColor::fromHslF(hue, saturation, std::min(lightness * 0.45f, 0.32f));
}

// Flat colours with a darker edge of the same hue, laid on the pixel grid.
class PlainStyle final : public PictogramStyle {
public:
  void shape(QPainter &painter, const QPainterPath &path, const QColor &fill) override {
    painter.setPen(QPen(outline_of(fill), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(fill);
    painter.drawPath(path);
  }
  void patch(QPainter &painter, const QPainterPath &path, const QColor &fill) override {
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawPath(path);
  }
  void line(QPainter &painter, const QPainterPath &path, const QColor &colour,
            qreal width) override {
    mark(painter, path, colour, width);
  }
  void mark(QPainter &painter, const QPainterPath &path, const QColor &colour,
            qreal width) override {
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
  }
};

} // namespace

bool draw_pictogram(QPainter &painter, const QString &name, PictogramStyle &style) {
  const auto found =
      std::find_if(std::begin(pictograms), std::end(pictograms),
                   [&](const Pictogram &p) { return name == QLatin1String(p.name); });
  if (found == std::end(pictograms))
    return false;
  painter.save();
  found->draw(painter, style);
  painter.restore();
  return true;
}

QStringList pictogram_names() {
  QStringList names;
  for (ImageTable table : all_image_tables) {
    for (const NamedImage &named : image_names(table)) {
      if (!names.contains(QLatin1String(named.name)))
        names << QLatin1String(named.name);
    }
  }
  return names;
}

QImage builtin_image(const QString &name, int size) {
  QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  PlainStyle style;
  const bool drawn = draw_pictogram(painter, name, style);
  painter.end();
  return drawn ? picture : QImage();
}

void load_builtin_images(std::initializer_list<ImageTable> tables) {
  for (ImageTable table : tables) {
    const int size = table_image_size(table);
    for (const NamedImage &named : image_names(table))
      set_image(named.number, builtin_image(QLatin1String(named.name), size));
  }
}

} // namespace lumbrix
