#include "platform/program_path.h"

#include <QFileInfo>

#include <filesystem>

namespace lumbrix {

QString program_behind(const QString &link) {
  std::error_code error;
  const auto target = std::filesystem::read_symlink(link.toStdString(), error);
  if (error || !target.is_absolute())
    return QString();
  return QString::fromStdString(target.string());
}

QString program_path() { return program_behind(QStringLiteral("/proc/self/exe")); }

QString folder_of_program(const QString &program) {
  if (program.isEmpty())
    return QString();
  return QFileInfo(program).absolutePath() + QLatin1Char('/');
}

QString program_folder() { return folder_of_program(program_path()); }

} // namespace lumbrix
