#include "platform/program_path.h"

#include <QFileInfo>

#include <filesystem>

namespace lumbrix {

QString program_path() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error)
    return QStringLiteral("./lumbrix");
  return QString::fromStdString(exe.string());
}

QString program_folder() { return QFileInfo(program_path()).absolutePath() + QLatin1Char('/'); }

} // namespace lumbrix
