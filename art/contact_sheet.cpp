#include "contact_sheet.h"

#include <QPainter>

namespace {

constexpr int label_width = 130;
constexpr int cell = 80;
constexpr int row_height = 76;
constexpr int header = 30;
constexpr int blocks = 2; // names are laid out in two side-by-side blocks

const QColor light_ground(0xF6, 0xF3, 0xEC);
const QColor dark_ground(0x2B, 0x2F, 0x36);

} // namespace

QImage contact_sheet(const QStringList &names, std::span<const int> sizes,
                     const std::function<QImage(const QString &, int)> &render) {
  const int columns = int(sizes.size()) + 1;
  const int block_width = label_width + columns * cell;
  const int rows = int((names.size() + blocks - 1) / blocks);
  QImage sheet(blocks * block_width, header + rows * row_height, QImage::Format_RGB32);
  sheet.fill(light_ground);
  QPainter painter(&sheet);
  painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  for (int block = 0; block < blocks; ++block) {
    const int left = block * block_width;
    painter.fillRect(left + label_width + int(sizes.size()) * cell, 0, cell, sheet.height(),
                     dark_ground);
    for (int c = 0; c < columns; ++c) {
      const QString title = c < int(sizes.size()) ? QString::number(sizes[c]) : "on dark";
      painter.setPen(c < int(sizes.size()) ? Qt::black : Qt::white);
      painter.drawText(QRect(left + label_width + c * cell, 0, cell, header), Qt::AlignCenter,
                       title);
    }
  }
  for (int i = 0; i < names.size(); ++i) {
    const int left = (i / rows) * block_width;
    const int top = header + (i % rows) * row_height;
    painter.setPen(Qt::black);
    painter.drawText(QRect(left + 10, top, label_width - 10, row_height),
                     Qt::AlignVCenter | Qt::AlignLeft, names[i]);
    for (int c = 0; c < columns; ++c) {
      const int size = sizes[std::min<int>(c, int(sizes.size()) - 1)];
      const QImage icon = render(names[i], size);
      painter.drawImage(left + label_width + c * cell + (cell - size) / 2,
                        top + (row_height - size) / 2, icon);
    }
  }
  return sheet;
}
