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
  for (const QString &level : {maker_folder, product_folder}) {
    folder += level + QLatin1Char('/');
    QDir().mkdir(folder);
  }
  return folder;
}

} // namespace lumbrix
