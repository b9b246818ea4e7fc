#pragma once

#include <QString>
#include <QStringList>

namespace lumbrix::test {

QString corpus_dir();  // the PNG corpus in tests/data/corpus, with a trailing separator
QString source_dir();  // the repository root, with a trailing separator
QString binary_path(); // the built lumbrix executable

enum class CorpusPart { readable, damaged };

// The corpus PNGs of one part (damaged: those under crashers/), sorted. Records a test failure
// when fewer are found than the corpus holds, so a missing or thinned corpus never passes quietly.
QStringList corpus_pngs(CorpusPart part);

} // namespace lumbrix::test
