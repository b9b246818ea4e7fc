#include "platform/gui_app.h"

#include <QGuiApplication>

namespace lumbrix {

bool gui_application_exists() {
  return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
}

bool ensure_gui_application() {
  if (gui_application_exists())
    return true;
  if (QCoreApplication::instance())
    return false;
  // Qt keeps argc and argv for the application's lifetime, which is the process's.
  static int argc = 3;
  static char program[] = "lumbrix";
  static char option[] = "-platform";
  static char platform[] = "offscreen";
  static char *argv[] = {program, option, platform, nullptr};
  static const QGuiApplication *application = new QGuiApplication(argc, argv);
  return application != nullptr;
}

} // namespace lumbrix
