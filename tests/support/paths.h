#pragma once

#include <QString>

namespace lumbrix::test {

QString corpus_dir();  // the shared PNG corpus, with a trailing separator
QString source_dir();  // the repository root, with a trailing separator
QString binary_path(); // the built lumbrix executable

} // namespace lumbrix::test
