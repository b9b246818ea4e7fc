#pragma once

#include <QString>
#include <QStringList>

namespace lumbrix::test {

struct RunResult {
  int exit_code = -1;
  QStringList lines; // stdout decoded from UTF-16LE, split at CR LF (no trailing empty line)
  QByteArray raw;    // stdout as written
  QByteArray errors; // stderr as written
};

// Runs the built lumbrix with its output redirected, waiting at most a minute.
RunResult run_lumbrix(const QStringList &arguments, const QString &working_dir = QString());

} // namespace lumbrix::test
