#include "support/paths.h"

namespace lumbrix::test {

QString corpus_dir() { return QStringLiteral(LUMBRIX_CORPUS_DIR "/"); }
QString source_dir() { return QStringLiteral(LUMBRIX_SOURCE_DIR "/"); }
QString binary_path() { return QStringLiteral(LUMBRIX_BINARY); }

} // namespace lumbrix::test
