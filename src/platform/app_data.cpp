#include "platform/app_data.h"

#include <QDir>
#include <QStandardPaths>

namespace lumbrix {
namespace {

QString with_separator(QString folder) {
  if (!folder.endsWith(QLatin1Char('/')))
    folder += QLatin1Char('/');
  return folder;
}

} // namespace

QString settings_dir(const QString &maker_folder, const QString &product_folder) {
  QString folder =
      with_separator(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
  folder += maker_folder + QLatin1Char('/') + product_folder + QLatin1Char('/');
  // A new account may not have the configuration folder itself yet.
  QDir().mkpath(folder);
  return folder;
}

} // namespace lumbrix
