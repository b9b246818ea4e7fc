#pragma once

#include "engine/settings/settings.h"

#include <QFrame>
#include <QImage>
#include <QTimer>

#include <memory>
#include <optional>

class QLabel;

namespace lumbrix {

class PreviewSource;

// A small picture of what a conversion with the dialog's unsaved values would make. Requests
// wait for a short pause in typing and are drawn on a worker thread, one at a time; while one is
// drawn, later requests collapse into the newest.
class PreviewPane : public QFrame {
  Q_OBJECT

public:
  explicit PreviewPane(QWidget *parent = nullptr);

  void request(const QString &path, const Settings &s);
  QSize sizeHint() const override;
  // The picture shown last, before the checkerboard goes under it.
  QImage picture() const { return picture_; }

signals:
  // A new picture is on screen.
  void shown();

private:
  struct Job {
    QString path;
    Settings settings;
  };

  void start();
  QPixmap fitted(const QPixmap &pixmap) const;
  void finish(const QImage &picture, std::shared_ptr<const PreviewSource> source);

  QLabel *view_ = nullptr;
  QTimer pause_;
  QTimer reading_; // says the picture is being read, when that takes a while
  std::optional<Job> waiting_;
  bool drawing_ = false;
  std::shared_ptr<const PreviewSource> source_; // the picture last read
  QImage picture_;
};

} // namespace lumbrix
