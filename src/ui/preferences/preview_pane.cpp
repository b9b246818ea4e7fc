#include "ui/preferences/preview_pane.h"

#include "prefs/preview_render.h"
#include "text/lang.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QThreadPool>
#include <QVBoxLayout>

#include <algorithm>

namespace lumbrix {
namespace {

constexpr int box_side = 280;
// On a small screen the preview shrinks before the page beside it.
constexpr int smallest_side = 120;
constexpr int pause_ms = 150;
constexpr int check_side = 8;
// A new picture that takes longer than this to read says that it is being read.
constexpr int reading_ms = 300;

// The picture over a grey checkerboard, so that its transparent parts show as such.
QPixmap on_checkerboard(const QImage &picture, qreal ratio) {
  const QColor grey(0xCC, 0xCC, 0xCC);
  QPixmap tile(2 * check_side, 2 * check_side);
  tile.fill(Qt::white);
  {
    QPainter squares(&tile);
    squares.fillRect(0, 0, check_side, check_side, grey);
    squares.fillRect(check_side, check_side, check_side, check_side, grey);
  }
  QPixmap pixmap(picture.size());
  QPainter painter(&pixmap);
  painter.fillRect(pixmap.rect(), QBrush(tile));
  painter.drawImage(0, 0, picture);
  painter.end();
  pixmap.setDevicePixelRatio(ratio);
  return pixmap;
}

} // namespace

PreviewPane::PreviewPane(QWidget *parent) : QFrame(parent) {
  setFrameShape(QFrame::StyledPanel);
  view_ = new QLabel(this);
  view_->setAlignment(Qt::AlignCenter);
  view_->setMinimumSize(smallest_side, smallest_side);
  view_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(view_);
  pause_.setSingleShot(true);
  pause_.setInterval(pause_ms);
  connect(&pause_, &QTimer::timeout, this, &PreviewPane::start);
  reading_.setSingleShot(true);
  reading_.setInterval(reading_ms);
  connect(&reading_, &QTimer::timeout, this,
          [this] { view_->setText(lang_msg("Reading preview")); });
}

QSize PreviewPane::sizeHint() const {
  const QMargins margins = layout()->contentsMargins();
  return QSize(box_side + margins.left() + margins.right() + 2 * frameWidth(),
               box_side + margins.top() + margins.bottom() + 2 * frameWidth());
}

void PreviewPane::request(const QString &path, const Settings &s) {
  waiting_ = Job{path, s};
  pause_.start();
}

void PreviewPane::start() {
  if (drawing_ || !waiting_)
    return;
  drawing_ = true;
  // Drawn at the screen's own pixels, so the picture stays sharp on a scaled display.
  const qreal ratio = devicePixelRatioF();
  // As large as the pane allows, up to the full box.
  const int side = std::max(smallest_side, std::min({box_side, view_->width(), view_->height()}));
  const QSize box = QSize(side, side) * ratio;
  // The pane may be gone when the picture is ready; the answer goes through the application,
  // which checks for that on the window thread.
  QPointer<PreviewPane> pane(this);
  if (!source_ || source_->path() != waiting_->path)
    reading_.start();
  QThreadPool::globalInstance()->start([job = std::move(*waiting_), source = source_, box, pane] {
    // The picture is read once; later values are drawn on what was read.
    std::shared_ptr<const PreviewSource> used = source;
    if (!used || used->path() != job.path)
      used = std::make_shared<const PreviewSource>(job.path);
    const QImage picture = used->render(job.settings, box);
    QMetaObject::invokeMethod(
        qApp,
        [pane, picture, used] {
          if (pane)
            pane->finish(picture, used);
        },
        Qt::QueuedConnection);
  });
  waiting_.reset();
}

QPixmap PreviewPane::fitted(const QPixmap &pixmap) const {
  // The pane may have shrunk while the picture was drawn.
  const QSize room = view_->size() * pixmap.devicePixelRatio();
  if (pixmap.width() <= room.width() && pixmap.height() <= room.height())
    return pixmap;
  QPixmap smaller = pixmap.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  smaller.setDevicePixelRatio(pixmap.devicePixelRatio());
  return smaller;
}

void PreviewPane::finish(const QImage &picture, std::shared_ptr<const PreviewSource> source) {
  drawing_ = false;
  reading_.stop();
  source_ = std::move(source);
  picture_ = picture;
  view_->setPixmap(picture.isNull() ? QPixmap()
                                    : fitted(on_checkerboard(picture, devicePixelRatioF())));
  emit shown();
  // A request that came while drawing, once typing has paused.
  if (!pause_.isActive())
    start();
}

} // namespace lumbrix
