#include "platform/temp_file.h"

#include "platform/files.h"
#include "platform/signal_cleanup.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace lumbrix {
namespace {

TempFileHooks hooks;

constexpr int name_attempts = 100;

QByteArray fresh_name(const QString &prefix, const QString &extension) {
  if (hooks.next_name)
    return hooks.next_name();
  thread_local std::mt19937 engine{std::random_device{}()};
  std::uniform_int_distribution<int> letter(0, 25);
  QByteArray name = QFile::encodeName(prefix);
  for (int i = 0; i < 10; ++i)
    name += static_cast<char>('a' + letter(engine));
  return name + '.' + QFile::encodeName(extension);
}

// Some file systems cannot sync a descriptor (EINVAL); there is nothing more to do for them.
bool synced(int fd) { return ::fsync(fd) == 0 || errno == EINVAL; }

bool same_file(const struct stat &a, const struct stat &b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

TempFile::TempFile(TempFile &&other) noexcept { *this = std::move(other); }

TempFile &TempFile::operator=(TempFile &&other) noexcept {
  if (this != &other) {
    discard();
    std::swap(fd_, other.fd_);
    std::swap(folder_fd_, other.folder_fd_);
    std::swap(folder_, other.folder_);
    std::swap(prefix_, other.prefix_);
    std::swap(extension_, other.extension_);
    std::swap(name_, other.name_);
    std::swap(signal_slot_, other.signal_slot_);
  }
  return *this;
}

TempFile::~TempFile() { discard(); }

TempFile TempFile::create(const QString &folder, const QString &prefix, const QString &extension,
                          TempName naming) {
  TempFile file;
  file.folder_ = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
  file.prefix_ = prefix;
  file.extension_ = extension;
  file.folder_fd_ =
      ::open(native_path(file.folder_).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (file.folder_fd_ < 0)
    return file;
  // Naming the file later goes through /proc; without it the file is named from the start.
  if (naming == TempName::when_placed && ::access("/proc/self/fd", X_OK) == 0)
    file.fd_ = ::openat(file.folder_fd_, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
  for (int attempt = 0; file.fd_ < 0 && attempt < name_attempts; ++attempt) {
    const QByteArray name = fresh_name(prefix, extension);
    file.fd_ = ::openat(file.folder_fd_, name.constData(),
                        O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (file.fd_ >= 0) {
      file.name_ = name;
      file.signal_slot_ = remove_on_signal(native_path(file.path()));
    } else if (errno != EEXIST) {
      break;
    }
  }
  return file;
}

QString TempFile::path() const {
  return name_.isEmpty() ? QString() : folder_ + QFile::decodeName(name_);
}

qint64 TempFile::size() const {
  struct stat info {};
  return fd_ >= 0 && ::fstat(fd_, &info) == 0 ? static_cast<qint64>(info.st_size) : -1;
}

bool TempFile::write(const char *data, qint64 size) {
  while (fd_ >= 0 && size > 0) {
    const ssize_t written = ::write(fd_, data, static_cast<std::size_t>(size));
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    data += written;
    size -= written;
  }
  return fd_ >= 0;
}

void TempFile::start_writeback() const {
  if (fd_ >= 0)
    ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
}

bool TempFile::holds(const QByteArray &name) const {
  struct stat mine {};
  struct stat named {};
  return ::fstat(fd_, &mine) == 0 &&
         ::fstatat(folder_fd_, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         same_file(mine, named);
}

// A link, or a second name of a file named elsewhere: what someone put in place of the temporary
// name. A file written and placed by another run under the same name has no other name.
bool TempFile::planted(const QByteArray &name) const {
  struct stat named {};
  return ::fstatat(folder_fd_, name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
         (!S_ISREG(named.st_mode) || named.st_nlink > 1);
}

bool TempFile::link_as(const QByteArray &name) const {
  const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
  return ::linkat(AT_FDCWD, self.constData(), folder_fd_, name.constData(), AT_SYMLINK_FOLLOW) == 0;
}

// A file made without a name is linked to a fresh one, from which it is renamed into place:
// linking cannot replace an existing file.
bool TempFile::give_name() {
  for (int attempt = 0; attempt < name_attempts; ++attempt) {
    const QByteArray name = fresh_name(prefix_, extension_);
    if (link_as(name)) {
      name_ = name;
      signal_slot_ = remove_on_signal(native_path(path()));
      return true;
    }
    if (errno != EEXIST)
      return false;
  }
  return false;
}

// Moves the file to target. With no earlier file there, a file without a name is linked to
// target straight away, so that no temporary name is ever seen, even by whatever kills the
// process; otherwise it gets a temporary name that is renamed over the earlier file, unless the
// name no longer holds this file.
bool TempFile::move_to(const QByteArray &target, bool replacing) {
  if (name_.isEmpty() && !replacing && link_as(target))
    return true;
  if (name_.isEmpty() && !give_name())
    return false;
  if (hooks.before_rename)
    hooks.before_rename(path());
  if (!holds(name_)) {
    errno = 0;
    return false;
  }
  if (::renameat(folder_fd_, name_.constData(), folder_fd_, target.constData()) != 0)
    return false;
  keep_on_signal(signal_slot_);
  signal_slot_ = -1;
  name_.clear();
  return true;
}

// Puts the file under target only if nothing stands there, without syncing anything: linked
// when it has no name, renamed without replacing otherwise.
bool TempFile::place_new(const QByteArray &target) {
  if (name_.isEmpty())
    return link_as(target);
  if (hooks.before_rename)
    hooks.before_rename(path());
  if (!holds(name_) || ::renameat2(folder_fd_, name_.constData(), folder_fd_, target.constData(),
                                   RENAME_NOREPLACE) != 0)
    return false;
  keep_on_signal(signal_slot_);
  signal_slot_ = -1;
  name_.clear();
  return true;
}

// Removes the temporary name if it is still this file's; a name someone else put there stays.
bool TempFile::drop_name() {
  const bool removed =
      !name_.isEmpty() && holds(name_) && ::unlinkat(folder_fd_, name_.constData(), 0) == 0;
  keep_on_signal(signal_slot_);
  signal_slot_ = -1;
  name_.clear();
  return removed;
}

bool TempFile::commit(const QString &file_name, int *error, bool *left_unsynced) {
  const auto fail = [this, error](int number) {
    if (error)
      *error = number;
    discard();
    return false;
  };
  const QByteArray target = QFile::encodeName(file_name);
  if (fd_ < 0 || target.isEmpty() || target.contains('/'))
    return fail(EINVAL);
  struct stat existing {};
  const bool replacing =
      ::fstatat(folder_fd_, target.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0;
  if (replacing && S_ISREG(existing.st_mode))
    ::fchmod(fd_, existing.st_mode & 07777);
  const bool placed_new = left_unsynced && !replacing && place_new(target);
  if (!placed_new && (!synced(fd_) || !move_to(target, replacing)))
    return fail(errno);
  if (hooks.after_placing)
    hooks.after_placing(folder_ + QFile::decodeName(target));
  // What was renamed may be a link put in the file's place: then the data is not there, and the
  // link must not stand under the final name either. Another run's file put there since, as
  // runs writing the same name do, replaced this one as a later write would, and stays.
  if (!holds(target) && planted(target)) {
    ::unlinkat(folder_fd_, target.constData(), 0);
    return fail(0);
  }
  if (placed_new)
    *left_unsynced = true;
  else if (!synced(folder_fd_))
    return fail(errno);
  discard();
  return true;
}

void TempFile::discard() {
  drop_name();
  if (fd_ >= 0)
    ::close(fd_);
  if (folder_fd_ >= 0)
    ::close(folder_fd_);
  fd_ = -1;
  folder_fd_ = -1;
}

void set_temp_file_hooks(const TempFileHooks &new_hooks) { hooks = new_hooks; }

} // namespace lumbrix
