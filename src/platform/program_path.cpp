#include "platform/program_path.h"

#include <filesystem>

namespace lumbrix {

QString program_path() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error)
    return QStringLiteral("./lumbrix");
  return QString::fromStdString(exe.string());
}

} // namespace lumbrix
