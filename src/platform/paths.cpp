#include "platform/paths.h"

#include <algorithm>

namespace lumbrix {

QString with_separator(const QString &folder) {
  return folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString folder_part(const QString &path) {
  const qsizetype end =
      std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return path.left(end + 1);
}

QString base_name(const QString &path) {
  QString name = path.mid(folder_part(path).size());
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot >= 0)
    name.truncate(dot);
  return name;
}

QString file_extension(const QString &path) {
  const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
  if (dot < 0)
    return QString();
  for (qsizetype i = dot + 1; i < path.size(); ++i) {
    const QChar c = path.at(i);
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(' '))
      return QString();
  }
  return path.mid(dot + 1).toLower();
}

QString relative_subfolder(const QString &path, const QString &base) {
  if (path.isEmpty() || base.isEmpty())
    return QString();
  QString folder = folder_part(path);
  const qsizetype at = folder.indexOf(base);
  if (at >= 0)
    folder.remove(at, base.size());
  return folder;
}

} // namespace lumbrix
