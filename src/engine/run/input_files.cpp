#include "engine/run/input_files.h"

#include "engine/settings/format_catalogue.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <set>

namespace lumbrix {
namespace {

// A list of a hundred thousand long paths; anything larger is not a list of pictures.
constexpr qint64 max_list_bytes = 64LL * 1024 * 1024;

} // namespace

std::vector<InputFile> folder_inputs(const QString &folder, bool recursive) {
  const QString base = with_separator(QDir::cleanPath(QFileInfo(folder).absoluteFilePath()));
  QStringList patterns;
  for (const QString &extension : accepted_extensions())
    patterns << QStringLiteral("*.") + extension;
  const auto flags = recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags;
  // Unreadable files are taken too: they fail with their reason instead of vanishing unseen.
  QDirIterator it(base, patterns, QDir::Files | QDir::NoSymLinks | QDir::Hidden, flags);
  QStringList paths;
  while (it.hasNext())
    paths << it.next();
  // The same order on every machine: by folder, then by name, as a person reads a listing.
  std::sort(paths.begin(), paths.end(), [](const QString &a, const QString &b) {
    const QString fa = folder_part(a), fb = folder_part(b);
    return fa == fb ? a < b : fa < fb;
  });
  std::vector<InputFile> files;
  for (const QString &path : paths)
    files.push_back({path, folder_part(path).mid(base.size())});
  return files;
}

bool read_input_list(const QString &path, std::vector<InputFile> &files, QString &reason) {
  const qint64 size = file_size(path);
  if (size > max_list_bytes) {
    reason = QStringLiteral("the list is larger than a list of pictures can be");
    return false;
  }
  QFile list(path);
  if (size < 0 || !list.open(QIODevice::ReadOnly)) {
    reason = QStringLiteral("cannot read the list ") + path;
    return false;
  }
  std::set<QString> seen;
  while (!list.atEnd()) {
    const QString line = QString::fromUtf8(list.readLine()).trimmed();
    if (line.isEmpty())
      continue;
    const QString file = QFileInfo(line).absoluteFilePath();
    if (seen.insert(file).second)
      files.push_back({file, QString()});
  }
  return true;
}

} // namespace lumbrix
