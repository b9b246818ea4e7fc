#include "ui/screenshot_mode.h"

#include "build_constants.h"
#include "engine/settings/format_catalogue.h"
#include "platform/console.h"
#include "platform/jpeg_writer.h"
#include "platform/paths.h"
#include "prefs/image_tables.h"
#include "ui/input_output.h"
#include "ui/main_window.h"
#include "ui/window_front.h"

#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include <cmath>

namespace lumbrix {
namespace {

constexpr int jpeg_quality = 90;
constexpr int thumbnail_width = 180;
constexpr int settle_ms = 500;
const QString sample_folder = QStringLiteral("/converted/");

void show_sample_data(MainWindow *window) {
  window->input_field()->setText(sample_input_names().at(3));
  QComboBox *folders = window->folder_list();
  folders->addItem(table_icon(ImageTable::Menus, QStringLiteral("FavFolder")), sample_folder);
  folders->setCurrentIndex(folders->count() - 1);
  window->format_list()->setFocus();
  folders->setFocus();
  window->convert_button()->setFocus();
}

// Lets the window settle for a moment; closing it ends the wait early.
void settle(MainWindow *window) {
  QEventLoop loop;
  QTimer::singleShot(settle_ms, &loop, &QEventLoop::quit);
  QObject::connect(window, &MainWindow::quit_requested, &loop, &QEventLoop::quit);
  loop.exec();
}

// The whole window with its frame, as the screen shows it; the window's own rendering where the
// screen cannot be read.
QImage capture(MainWindow *window) {
  const QRect frame = window->frameGeometry();
  QImage picture;
  if (QScreen *screen = window->screen())
    picture = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height()).toImage();
  if (picture.isNull() || picture.size() != frame.size())
    picture = window->grab().toImage();
  return picture.convertToFormat(QImage::Format_RGB32);
}

int screenshot_error(const QString &reason) {
  console_line(QStringLiteral("Error: ") + reason);
  return 1;
}

} // namespace

QStringList sample_input_names() {
  static const char *const stems[] = {"pic0102",     "picture_a", "picture_b", "Vantrel",
                                      "layout-haus", "summer",    "winter"};
  const QStringList &extensions = accepted_extensions();
  QStringList names;
  for (const char *stem : stems) {
    const QString extension =
        extensions.isEmpty()
            ? QString()
            : extensions.at(QRandomGenerator::global()->bounded(int(extensions.size())));
    names << QLatin1String("/images/") + QLatin1String(stem) + QLatin1Char('.') + extension;
  }
  return names;
}

void draw_vendor_address(QImage &picture) {
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(8);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QString address = QString::fromUtf8(build::vendor_site);
  const QFontMetrics metrics(font);
  const int left = picture.width() - metrics.horizontalAdvance(address) - 35;
  const int top = picture.height() - 26;
  painter.drawText(left, top + metrics.ascent(), address);
}

QImage thumbnail(const QImage &picture, int width) {
  const int height =
      static_cast<int>(std::lround(double(width) * picture.height() / picture.width()));
  return picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

int run_screenshot_mode(const QString &folder_argument) {
  const QString folder =
      with_separator(folder_argument.isEmpty() ? QDir::currentPath() : folder_argument);
  if (!QFileInfo(folder).isDir())
    return screenshot_error(QStringLiteral("No such folder: ") + folder);
  load_window_tables();
  MainWindow *window = build_main_window();
  window->move(400, 400);
  window->resize(510, 260);
  window->activateWindow();
  post_window_init(RunMode::Screenshot);
  show_sample_data(window);
  settle(window);
  QImage picture = capture(window);
  destroy_main_window();
  draw_vendor_address(picture);
  const QString full = folder + QLatin1String("Lumbrix1.jpg");
  if (!write_jpeg(picture, full, jpeg_quality))
    return screenshot_error(QStringLiteral("Cannot write ") + full);
  const QString small = folder + QLatin1String("Lumbrix1x.jpg");
  if (!write_jpeg(thumbnail(picture, thumbnail_width), small, jpeg_quality))
    return screenshot_error(QStringLiteral("Cannot write ") + small);
  return 0;
}

} // namespace lumbrix
