#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace lumbrix::fuzz {

// What the program sets up before its console front runs: DevIL, the language table and the
// format maps.
void start_console_front();

// Console output goes to a text while one lives.
class CapturedConsole {
public:
  CapturedConsole();
  ~CapturedConsole();
  CapturedConsole(const CapturedConsole &) = delete;
  CapturedConsole &operator=(const CapturedConsole &) = delete;

private:
  QString output_;
};

// A folder of this process's own under the system temporary folder, with a trailing separator.
QString scratch_dir();

// Writes the bytes to name in the scratch folder and returns its path.
QString write_input(const std::uint8_t *data, std::size_t size, const QString &name);

// The bytes as UTF-8 text, cut at every separator; empty parts are kept.
QStringList split_text(const std::uint8_t *data, std::size_t size, char separator);

} // namespace lumbrix::fuzz
