#include "engine/run/input_files.h"

#include "engine/settings/format_catalogue.h"
#include "platform/files.h"
#include "platform/folder_walk.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <set>

namespace lumbrix {
namespace {

// A list of a hundred thousand long paths; anything larger is not a list of pictures.
constexpr qint64 max_list_bytes = 64LL * 1024 * 1024;
constexpr qint64 list_chunk = 64 * 1024;

// Why a file of a folder is not converted, when how it was found says so already.
QString refusal_of(FoundKind kind) {
  switch (kind) {
  case FoundKind::link:
    return QStringLiteral("skipped, a symbolic link");
  case FoundKind::too_long:
    return QStringLiteral("skipped, the path is longer than the system allows");
  case FoundKind::file:
    break;
  }
  return QString();
}

bool is_picture_name(const QString &name) {
  return is_listed(file_extension(name), accepted_extensions());
}

// The whole list, from a file or any stream (a pipe, /dev/stdin), up to max_list_bytes.
bool read_list_bytes(const QString &path, QByteArray &bytes, QString &reason) {
  QFile list(path);
  if (!list.open(QIODevice::ReadOnly)) {
    reason = QStringLiteral("cannot read the list ") + path;
    return false;
  }
  for (;;) {
    const QByteArray chunk = list.read(list_chunk);
    if (chunk.isEmpty())
      break;
    bytes += chunk;
    if (bytes.size() > max_list_bytes) {
      reason = QStringLiteral("the list is larger than a list of pictures can be");
      return false;
    }
  }
  if (list.error() != QFileDevice::NoError) {
    reason = QStringLiteral("cannot read the list ") + path;
    return false;
  }
  return true;
}

// A line with a NUL byte names no file: the part before it is not what was meant, and is shown
// with the NUL made visible.
InputFile list_entry(const QByteArray &line) {
  if (!line.contains('\0'))
    return {QFileInfo(QString::fromUtf8(line)).absoluteFilePath(), QString()};
  QByteArray shown = line;
  shown.replace('\0', "\\0");
  return {QString::fromUtf8(shown), QString(), QStringLiteral("the list's line holds a NUL byte")};
}

} // namespace

std::vector<InputFile> folder_inputs(const QString &folder, bool recursive) {
  const QString base = with_separator(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
  // Unreadable files are taken too: they fail with their reason instead of vanishing unseen, and
  // so do the files a walk does not take.
  std::vector<FoundEntry> found = walk_folder(base, recursive, is_picture_name);
  // The same order on every machine: by folder, then by name, as a person reads a listing.
  std::sort(found.begin(), found.end(), [](const FoundEntry &a, const FoundEntry &b) {
    const QString fa = folder_part(a.path), fb = folder_part(b.path);
    return fa == fb ? a.path < b.path : fa < fb;
  });
  std::vector<InputFile> files;
  for (const FoundEntry &entry : found)
    files.push_back({entry.path, folder_part(entry.path).mid(base.size()), refusal_of(entry.kind)});
  return files;
}

bool read_input_list(const QString &path, std::vector<InputFile> &files, QString &reason) {
  QByteArray bytes;
  if (!read_list_bytes(path, bytes, reason))
    return false;
  std::set<QString> seen;
  for (const QByteArray &line : bytes.split('\n')) {
    const QByteArray text = line.trimmed();
    if (text.isEmpty())
      continue;
    InputFile file = list_entry(text);
    if (seen.insert(file.path).second)
      files.push_back(std::move(file));
  }
  return true;
}

} // namespace lumbrix
