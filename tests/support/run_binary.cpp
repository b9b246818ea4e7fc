#include "support/run_binary.h"

#include "support/paths.h"

#include <QProcess>

namespace lumbrix::test {

RunResult run_lumbrix(const QStringList &arguments, const QString &working_dir) {
  QProcess process;
  if (!working_dir.isEmpty())
    process.setWorkingDirectory(working_dir);
  process.setProcessChannelMode(QProcess::SeparateChannels);
  process.start(binary_path(), arguments);
  RunResult result;
  if (!process.waitForFinished(60000)) {
    process.kill();
    process.waitForFinished();
    return result;
  }
  result.exit_code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  result.raw = process.readAllStandardOutput();
  result.errors = process.readAllStandardError();
  const QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(result.raw.constData()),
                                          result.raw.size() / 2);
  result.lines = text.split(QStringLiteral("\r\n"));
  if (!result.lines.isEmpty() && result.lines.last().isEmpty())
    result.lines.removeLast();
  return result;
}

} // namespace lumbrix::test
