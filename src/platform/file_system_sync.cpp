#include "platform/file_system_sync.h"

#include "platform/files.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace lumbrix {
namespace {

// Syncs the file system the open folder is on, unless done already; the error number, or 0.
int sync_once(int folder, std::map<dev_t, int> &done) {
  struct stat info {};
  if (::fstat(folder, &info) != 0)
    return errno;
  const auto found = done.find(info.st_dev);
  if (found != done.end())
    return found->second;
  const int error = ::syncfs(folder) == 0 ? 0 : errno;
  done.emplace(info.st_dev, error);
  return error;
}

} // namespace

std::vector<int> sync_file_systems(const QStringList &folders) {
  std::map<dev_t, int> done;
  std::vector<int> errors;
  errors.reserve(static_cast<std::size_t>(folders.size()));
  for (const QString &folder : folders) {
    const int fd = ::open(native_path(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    errors.push_back(fd < 0 ? errno : sync_once(fd, done));
    if (fd >= 0)
      ::close(fd);
  }
  return errors;
}

} // namespace lumbrix
