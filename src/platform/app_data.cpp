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
  QString folder = with_separator(config);
  for (const QString &level : {maker_folder, product_folder}) {
    folder += level + QLatin1Char('/');
    QDir().mkdir(folder);
  }
  return folder;
}

} // namespace lumbrix
