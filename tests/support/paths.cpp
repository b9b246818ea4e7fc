#include "support/paths.h"

#include <QDirIterator>
#include <gtest/gtest.h>

namespace lumbrix::test {

QString corpus_dir() { return QStringLiteral(LUMBRIX_CORPUS_DIR "/"); }
QString source_dir() { return QStringLiteral(LUMBRIX_SOURCE_DIR "/"); }
QString binary_path() { return QStringLiteral(LUMBRIX_BINARY); }

QStringList corpus_pngs(CorpusPart part) {
  // The counts of tests/data/corpus; change them with the corpus.
  const qsizetype expected = part == CorpusPart::damaged ? 23 : 176;
  QStringList files;
  QDirIterator it(corpus_dir(), {QStringLiteral("*.png")}, QDir::Files,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    if (path.contains(QLatin1String("/crashers/")) == (part == CorpusPart::damaged))
      files << path;
  }
  files.sort();
  EXPECT_GE(files.size(), expected) << "PNG corpus incomplete in " << corpus_dir().toStdString();
  return files;
}

} // namespace lumbrix::test
