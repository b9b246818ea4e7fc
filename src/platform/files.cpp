#include "platform/files.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumbrix {
namespace {

bool stat_path(const QString &path, struct stat &info) {
  return !path.isEmpty() && ::stat(native_path(path).constData(), &info) == 0;
}

bool is_folder(const QString &path) {
  struct stat info {};
  return stat_path(path, info) && S_ISDIR(info.st_mode);
}

} // namespace

QString error_text(int error) {
  QString text = QString::fromLocal8Bit(std::strerror(error));
  if (!text.isEmpty())
    text[0] = text[0].toLower();
  return text;
}

QByteArray native_path(const QString &path) { return QFile::encodeName(path); }

ReadFile open_regular_file(const QString &path) {
  if (path.isEmpty())
    return ReadFile();
  const int fd = ::open(native_path(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0)
    return ReadFile();
  struct stat info {};
  std::FILE *file = nullptr;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
    file = ::fdopen(fd, "rb");
  if (!file)
    ::close(fd);
  return ReadFile(file);
}

bool read_at(std::FILE *file, qint64 offset, void *buffer, std::size_t size) {
  return ::pread(::fileno(file), buffer, size, static_cast<off_t>(offset)) ==
         static_cast<ssize_t>(size);
}

qint64 open_file_size(std::FILE *file) {
  struct stat info {};
  return ::fstat(::fileno(file), &info) == 0 ? static_cast<qint64>(info.st_size) : -1;
}

bool file_exists(const QString &path) {
  struct stat info {};
  return stat_path(path, info);
}

bool is_same_file(const QString &a, const QString &b) {
  struct stat first {};
  struct stat second {};
  return stat_path(a, first) && stat_path(b, second) && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

std::optional<FileIdentity> file_identity(const QString &path, bool follow_links) {
  struct stat info {};
  const QByteArray native = native_path(path);
  const int found =
      follow_links ? ::stat(native.constData(), &info) : ::lstat(native.constData(), &info);
  if (path.isEmpty() || found != 0)
    return std::nullopt;
  return FileIdentity{static_cast<quint64>(info.st_dev), static_cast<quint64>(info.st_ino)};
}

QString resolved_path(const QString &path) {
  const QFileInfo file(path);
  const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
  if (folder.isEmpty())
    return QDir::cleanPath(file.absoluteFilePath());
  return with_separator(folder) + file.fileName();
}

qint64 longest_path() { return PATH_MAX - 1; }

qint64 file_size(const QString &path) {
  struct stat info {};
  if (!stat_path(path, info) || !S_ISREG(info.st_mode))
    return -1;
  return static_cast<qint64>(info.st_size);
}

bool rename_file(const QString &from, const QString &to) {
  return !from.isEmpty() && !to.isEmpty() &&
         std::rename(native_path(from).constData(), native_path(to).constData()) == 0;
}

bool delete_file(const QString &path) {
  return !path.isEmpty() && ::unlink(native_path(path).constData()) == 0;
}

bool file_time(const QString &path, qint64 &seconds) {
  struct stat info {};
  if (!stat_path(path, info))
    return false;
  seconds = static_cast<qint64>(info.st_mtim.tv_sec);
  return true;
}

bool set_file_time(const QString &path, qint64 seconds) {
  timespec times[2]{};
  times[0].tv_nsec = UTIME_OMIT; // access time stays
  times[1].tv_sec = static_cast<time_t>(seconds);
  return !path.isEmpty() && ::utimensat(AT_FDCWD, native_path(path).constData(), times, 0) == 0;
}

bool create_folders(const QString &base, const QString &relative) {
  QString folder = with_separator(base);
  const QStringList levels = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  for (const QString &level : levels) {
    if (level == QLatin1String(".."))
      return false;
    if (level == QLatin1String("."))
      continue;
    folder += level + QLatin1Char('/');
    if (::mkdir(native_path(folder).constData(), 0777) != 0 && errno != EEXIST)
      return false;
  }
  return is_folder(folder);
}

void ignore_file_size_signal() { std::signal(SIGXFSZ, SIG_IGN); }

void raise_descriptor_limit() {
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
    limit.rlim_cur = limit.rlim_max;
    ::setrlimit(RLIMIT_NOFILE, &limit);
  }
}

} // namespace lumbrix
