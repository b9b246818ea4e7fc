#include "platform/app_data.h"

#include "platform/paths.h"

#include <QDir>
#include <QStandardPaths>

namespace lumbrix {

QString settings_dir(const QString &maker_folder, const QString &product_folder) {
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  // Without a configuration folder there is nowhere to keep settings; never the current folder.
  if (config.isEmpty())
    return QString();
  const QString folder =
      with_separator(config) + maker_folder + QLatin1Char('/') + product_folder + QLatin1Char('/');
  // A new account may not have the configuration folder itself yet.
  QDir().mkpath(folder);
  return folder;
}

} // namespace lumbrix
