#include "support/paths.h"

#include <QDirIterator>

namespace lumbrix::test {

QString corpus_dir() { return QStringLiteral(LUMBRIX_CORPUS_DIR "/"); }
QString source_dir() { return QStringLiteral(LUMBRIX_SOURCE_DIR "/"); }
QString binary_path() { return QStringLiteral(LUMBRIX_BINARY); }

QStringList corpus_pngs(bool crashers) {
  QStringList files;
  QDirIterator it(corpus_dir(), {QStringLiteral("*.png")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    if (path.contains(QLatin1String("/crashers/")) == crashers)
      files << path;
  }
  files.sort();
  return files;
}

} // namespace lumbrix::test
