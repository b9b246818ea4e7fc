#include "platform/app_data.h"

#include "platform/paths.h"

#include <QDir>
#include <QStandardPaths>

namespace lumbrix {

namespace {

QString user_dir(QStandardPaths::StandardLocation location, const QString &maker_folder,
                 const QString &product_folder) {
  const QString base = QStandardPaths::writableLocation(location);
  // Without the system's folder there is nowhere to keep these files; never the current folder.
  if (base.isEmpty())
    return QString();
  const QString folder =
      with_separator(base) + maker_folder + QLatin1Char('/') + product_folder + QLatin1Char('/');
  // A new account may not have the folder itself yet.
  QDir().mkpath(folder);
  return folder;
}

} // namespace

QString settings_dir(const QString &maker_folder, const QString &product_folder) {
  return user_dir(QStandardPaths::GenericConfigLocation, maker_folder, product_folder);
}

QString data_dir(const QString &maker_folder, const QString &product_folder) {
  return user_dir(QStandardPaths::GenericDataLocation, maker_folder, product_folder);
}

} // namespace lumbrix
