#include "fuzz_support.h"

#include "platform/console.h"
#include "text/lang.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace lumbrix::fuzz {

void start_console_front() { lang_load(); }

CapturedConsole::CapturedConsole() { console_capture(&output_); }
CapturedConsole::~CapturedConsole() { console_capture(nullptr); }

QString scratch_dir() {
  static const QString dir = [] {
    const QString path = QDir::tempPath() + QStringLiteral("/lumbrix-fuzz-") +
                         QString::number(QCoreApplication::applicationPid()) + QLatin1Char('/');
    QDir().mkpath(path);
    return path;
  }();
  return dir;
}

QString write_input(const std::uint8_t *data, std::size_t size, const QString &name) {
  const QString path = scratch_dir() + name;
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
    file.write(reinterpret_cast<const char *>(data), static_cast<qint64>(size));
  return path;
}

QStringList split_text(const std::uint8_t *data, std::size_t size, char separator) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
  QStringList parts;
  for (const QByteArray &part : bytes.split(separator))
    parts << QString::fromUtf8(part);
  return parts;
}

} // namespace lumbrix::fuzz
