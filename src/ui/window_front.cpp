#include "ui/window_front.h"

#include "build_constants.h"
#include "engine/settings/product.h"
#include "engine/settings/settings_file.h"
#include "platform/instance_channel.h"
#include "platform/instance_lock.h"
#include "prefs/builtin_images.h"
#include "prefs/message_boxes.h"
#include "prefs/themes.h"
#include "prefs/update_check.h"
#include "prefs/window_settings.h"
#include "text/lang.h"
#include "ui/input_output.h"
#include "ui/main_window.h"
#include "ui/message_boxes_ui.h"
#include "ui/system_fonts.h"
#include "ui/window_hooks.h"

#include <QApplication>
#include <QComboBox>
#include <QIcon>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>

#include <optional>

namespace lumbrix {

QSize desktop_size() {
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    return screen->availableGeometry().size();
  return QSize(1920, 1080);
}

void load_window_tables() {
  lang_load();
  load_builtin_images();
  scan_themes();
  load_theme_images({ImageTable::Buttons, ImageTable::Menus, ImageTable::Toolbar});
}

void start_window_front() {
  load_window_settings(settings_file_location(), desktop_size());
  settle_watermark_font(settings());
  load_window_tables();
  build_main_window();
  post_window_init(RunMode::Normal);
}

void post_window_init(RunMode mode) {
  MainWindow *window = main_window();
  window->bind_layout();
  if (settings().is_maximized == 1)
    window->setWindowState(window->windowState() | Qt::WindowMaximized);
  if (settings().recent_out_folders.isEmpty())
    window->folder_list()->addItem(QString());
  fill_format_list(window->format_list(), true);
  new_job();
  window->show();
  // Shown, the window may know its frame, which the first placement had to guess.
  if (!window->isMaximized())
    window->keep_on_screen();
  window->activateWindow();
  QCoreApplication::postEvent(window, new QResizeEvent(window->size(), window->size()));
  if (mode != RunMode::Screenshot)
    auto_update_check();
}

void record_window_geometry() {
  const MainWindow *window = main_window();
  Settings &s = settings();
  if (!window || window->isMinimized())
    return;
  if (window->isMaximized()) {
    s.is_maximized = 1;
    return;
  }
  s.is_maximized = 0;
  s.window_width = window->width();
  s.window_height = window->height();
  s.window_x = window->x();
  s.window_y = window->y();
}

void finish_window_front() {
  record_window_geometry();
  if (!settings().out_folders_history)
    settings().recent_out_folders.clear();
  QString reason;
  if (!save_window_settings(&reason))
    show_error(lang_format(lang(QStringLiteral("Msg"), QStringLiteral("Unable to save settings")),
                           window_settings_path(), reason));
  destroy_main_window();
}

void receive_second_start(const QStringList &files) {
  MainWindow *window = main_window();
  if (!window)
    return;
  window->bring_forward();
  add_input_files(files);
}

int run_window_front(int &argc, char **argv, const QStringList &input_files) {
  QApplication application(argc, argv);
  // The desktop matches the window to its menu entry by this name; the icon is the installed
  // one when there is one.
  QGuiApplication::setDesktopFileName(QString::fromUtf8(build::app_id));
  QApplication::setWindowIcon(QIcon::fromTheme(
      QStringLiteral("lumbrix"), QPixmap::fromImage(builtin_image(QStringLiteral("Program"), 64))));
  const InstanceClaim claim = claim_instance(window_title());
  // A window front that takes no message opens a window of its own rather than lose the files.
  if (claim.role == InstanceRole::second && send_to_instance(window_title(), input_files))
    return 0;
  std::optional<InstanceChannel> channel;
  if (claim.role == InstanceRole::first)
    channel.emplace(window_title(), receive_second_start);
  WidgetDialogs dialogs;
  set_system_dialogs(&dialogs);
  start_window_front();
  add_input_files(input_files);
  QObject::connect(main_window(), &MainWindow::quit_requested, &application,
                   &QCoreApplication::quit, Qt::QueuedConnection);
  QApplication::exec();
  finish_window_front();
  set_system_dialogs(nullptr);
  return 0;
}

} // namespace lumbrix
