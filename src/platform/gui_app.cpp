#include "platform/gui_app.h"

#include <QGuiApplication>

#include <cstdio>

namespace lumbrix {
namespace {

QtMessageHandler earlier_handler = nullptr;

// Starting the offscreen platform, Qt remarks on things a console user cannot act on (no
// XDG_RUNTIME_DIR under cron, for one); a quiet run must stay quiet. Anything worse than a
// warning still goes through.
void drop_start_up_remarks(QtMsgType type, const QMessageLogContext &context,
                           const QString &message) {
  if (type != QtFatalMsg && type != QtCriticalMsg)
    return;
  if (earlier_handler)
    earlier_handler(type, context, message);
  else
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

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
  earlier_handler = qInstallMessageHandler(drop_start_up_remarks);
  static const QGuiApplication *application = new QGuiApplication(argc, argv);
  qInstallMessageHandler(earlier_handler);
  return application != nullptr;
}

} // namespace lumbrix
