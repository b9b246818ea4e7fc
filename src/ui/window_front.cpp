#include "ui/window_front.h"

#include "engine/product.h"
#include "engine/settings_file.h"
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
#include "ui/window_hooks.h"

#include <QApplication>
#include <QComboBox>
#include <QResizeEvent>
#include <QScreen>

namespace lumbrix {
namespace {

// Defaults centre the window on the desktop it will open on.
QSize desktop_size() {
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    return screen->availableGeometry().size();
  return QSize(1920, 1080);
}

} // namespace

void load_window_tables() {
  lang_load();
  load_builtin_images();
  scan_themes();
  load_theme_images({ImageTable::Buttons, ImageTable::Menus, ImageTable::Toolbar});
}

void start_window_front() {
  load_window_settings(settings_file_location(), desktop_size());
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
  save_window_settings();
  destroy_main_window();
}

int run_window_front(int &argc, char **argv) {
  QApplication application(argc, argv);
  const auto lock = single_instance(window_title());
  if (!lock)
    return 0;
  WidgetDialogs dialogs;
  set_system_dialogs(&dialogs);
  start_window_front();
  QObject::connect(main_window(), &MainWindow::quit_requested, &application,
                   &QCoreApplication::quit, Qt::QueuedConnection);
  QApplication::exec();
  finish_window_front();
  set_system_dialogs(nullptr);
  return 0;
}

} // namespace lumbrix
