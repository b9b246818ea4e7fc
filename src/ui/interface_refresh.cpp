#include "ui/interface_refresh.h"

#include "engine/settings/product.h"
#include "prefs/builtin_images.h"
#include "prefs/themes.h"
#include "prefs/window_settings.h"
#include "ui/input_output.h"
#include "ui/main_window.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QResizeEvent>

namespace lumbrix {
namespace {

void reload_images(std::initializer_list<ImageTable> tables) {
  load_builtin_images(tables);
  load_theme_images(tables);
}

void rebuild_images(MainWindow *window, InterfaceChange change) {
  if (change == InterfaceChange::Theme) {
    reload_images({ImageTable::Buttons, ImageTable::Menus, ImageTable::Toolbar});
    if (window) {
      window->build_menus();
      window->build_side_buttons();
      window->refresh_main_images();
    }
  } else {
    reload_images({ImageTable::Toolbar});
  }
  if (!window)
    return;
  window->build_main_toolbar();
  QCoreApplication::postEvent(window, new QResizeEvent(window->size(), window->size()));
}

} // namespace

void refresh_interface(InterfaceChange change) {
  MainWindow *window = main_window();
  if (change != InterfaceChange::None)
    rebuild_images(window, change);
  if (!window)
    return;
  QComboBox *formats = window->format_list();
  const int format = formats->findData(output_formats().indexOf(settings().output_format));
  if (format >= 0)
    formats->setCurrentIndex(format);
  if (window->folder_list()->count() != settings().out_folders_number)
    fill_out_folder_list();
}

} // namespace lumbrix
