#include "platform/folder_walk.h"

#include "platform/files.h"
#include "platform/paths.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumbrix {
namespace {

struct Entry {
  QByteArray name;
  unsigned char type;
};

// The type of an entry the folder's listing did not give.
unsigned char entry_type(int folder_fd, const char *name) {
  struct stat info {};
  if (::fstatat(folder_fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
    return DT_UNKNOWN;
  if (S_ISDIR(info.st_mode))
    return DT_DIR;
  if (S_ISLNK(info.st_mode))
    return DT_LNK;
  return S_ISREG(info.st_mode) ? DT_REG : DT_UNKNOWN;
}

// Every entry of the folder but "." and "..", read at once so that its descriptor is closed
// before the walk goes deeper.
std::vector<Entry> folder_entries(const QString &folder) {
  std::vector<Entry> entries;
  const int fd =
      ::open(native_path(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  DIR *listing = fd >= 0 ? ::fdopendir(fd) : nullptr;
  if (!listing) {
    if (fd >= 0)
      ::close(fd);
    return entries;
  }
  while (const dirent *entry = ::readdir(listing)) {
    const QByteArray name(entry->d_name);
    if (name == "." || name == "..")
      continue;
    const unsigned char type =
        entry->d_type != DT_UNKNOWN ? entry->d_type : entry_type(fd, entry->d_name);
    entries.push_back({name, type});
  }
  ::closedir(listing);
  return entries;
}

bool too_long(const QString &path) { return native_path(path).size() > longest_path(); }

class Walk {
public:
  Walk(bool recursive, const std::function<bool(const QString &)> &wanted)
      : recursive_(recursive), wanted_(wanted) {}

  void folder(const QString &path) {
    for (const Entry &entry : folder_entries(path)) {
      const QString name = QFile::decodeName(entry.name);
      const QString full = path + name;
      if (entry.type == DT_DIR && recursive_)
        subfolder(full + QLatin1Char('/'));
      else if (entry.type == DT_LNK && wanted_(name))
        found_.push_back({full, FoundKind::link});
      else if (entry.type == DT_REG && wanted_(name))
        found_.push_back({full, too_long(full) ? FoundKind::too_long : FoundKind::file});
    }
  }

  std::vector<FoundEntry> found() { return std::move(found_); }

private:
  void subfolder(const QString &path) {
    if (too_long(path))
      found_.push_back({path, FoundKind::too_long});
    else
      folder(path);
  }

  bool recursive_;
  const std::function<bool(const QString &)> &wanted_;
  std::vector<FoundEntry> found_;
};

} // namespace

std::vector<FoundEntry> walk_folder(const QString &folder, bool recursive,
                                    const std::function<bool(const QString &name)> &wanted) {
  Walk walk(recursive, wanted);
  walk.folder(with_separator(folder));
  return walk.found();
}

} // namespace lumbrix
