// Theme archives as installed in the theme folder, and ini_text_value on a theme.cfg text.
// The first input byte picks which: even for the archive, odd for the text.
#include "fuzz_support.h"
#include "platform/gui_app.h"
#include "prefs/themes.h"
#include "prefs/window_settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

QString theme_name() {
  static const QString name =
      QStringLiteral("fuzz") + QString::number(QCoreApplication::applicationPid());
  return name;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  lumbrix::ensure_gui_application();
  // A theme folder of its own, so nothing is written beside the program.
  lumbrix::set_theme_folder(lumbrix::fuzz::scratch_dir() + QStringLiteral("gfx/"));
  QDir().mkpath(lumbrix::theme_folder());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  if (size < 1 || size > 1 << 20)
    return -1;
  if (data[0] & 1) {
    const QStringList parts = lumbrix::fuzz::split_text(data + 1, size - 1, '\0');
    if (parts.size() >= 3)
      lumbrix::ini_text_value(parts[0], parts[1], parts[2]);
    return 0;
  }
  const QString archive = lumbrix::theme_folder() + theme_name() + QStringLiteral(".zip");
  QFile file(archive);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    return 0;
  file.write(reinterpret_cast<const char *>(data + 1), static_cast<qint64>(size - 1));
  file.close();
  lumbrix::theme_display_name(theme_name());
  lumbrix::settings().ui_theme = theme_name();
  lumbrix::load_theme_images({lumbrix::ImageTable::Buttons});
  QFile::remove(archive);
  return 0;
}
