#pragma once

#include <QString>
#include <QStringList>

namespace lumbrix::test {

QString corpus_dir();  // the shared PNG corpus, with a trailing separator
QString source_dir();  // the repository root, with a trailing separator
QString binary_path(); // the built lumbrix executable

// The corpus PNGs in order, either the damaged ones (crashers) or all the others.
QStringList corpus_pngs(bool crashers);

} // namespace lumbrix::test
