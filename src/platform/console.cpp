#include "platform/console.h"

#include <cstdio>
#include <mutex>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace lumbrix {
namespace {

QString *capture = nullptr;
std::mutex write_mutex; // the worker prints trace lines while the front may print too
bool status_shown = false;

void write_all(const char *data, size_t size, int fd = STDOUT_FILENO) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n <= 0)
      return;
    data += n;
    size -= static_cast<size_t>(n);
  }
}

// Back to the line's start and erase to its end.
void erase_status() {
  static constexpr char erase[] = "\r\033[K";
  write_all(erase, sizeof erase - 1, STDERR_FILENO);
  status_shown = false;
}

// Redirected output is UTF-16LE unless LUMBRIX_OUTPUT_ENCODING names UTF-8 ("UTF-8" or "UTF8", in
// any case); a terminal always gets UTF-8.
bool redirected_as_utf8() {
  static const bool utf8 = [] {
    const QByteArray name = qgetenv("LUMBRIX_OUTPUT_ENCODING").toUpper();
    return name == "UTF-8" || name == "UTF8";
  }();
  return utf8;
}

QByteArray utf16le(const QString &text) {
  QByteArray bytes;
  bytes.reserve(text.size() * 2);
  for (const QChar c : text) {
    bytes.append(static_cast<char>(c.unicode() & 0xFF));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  return bytes;
}

} // namespace

void console_capture(QString *sink) { capture = sink; }

void console_open(const QString &title) {
  if (!capture && ::isatty(STDOUT_FILENO)) {
    const QByteArray escape = "\033]0;" + title.toUtf8() + "\007";
    write_all(escape.constData(), static_cast<size_t>(escape.size()));
  }
}

void console_close() {}

void console_line(const QString &line) {
  const std::lock_guard lock(write_mutex);
  const QString text = line + QStringLiteral("\r\n");
  if (capture) {
    capture->append(text);
    return;
  }
  if (::isatty(STDOUT_FILENO) && status_shown)
    erase_status();
  const QByteArray bytes =
      ::isatty(STDOUT_FILENO) || redirected_as_utf8() ? text.toUtf8() : utf16le(text);
  write_all(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool console_status_on_terminal() { return !capture && ::isatty(STDERR_FILENO); }

int console_status_columns() {
  winsize size{};
  return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
}

void console_status(const QString &text) {
  const std::lock_guard lock(write_mutex);
  const QByteArray bytes = "\r" + text.toUtf8() + "\033[K";
  write_all(bytes.constData(), static_cast<size_t>(bytes.size()), STDERR_FILENO);
  status_shown = true;
}

void console_status_clear() {
  const std::lock_guard lock(write_mutex);
  if (status_shown)
    erase_status();
}

void console_wait_key() {
  if (capture || !::isatty(STDIN_FILENO))
    return;
  termios saved{};
  if (::tcgetattr(STDIN_FILENO, &saved) != 0)
    return;
  termios raw = saved;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  ::tcsetattr(STDIN_FILENO, TCSANOW, &raw);
  char c = 0;
  [[maybe_unused]] const ssize_t n = ::read(STDIN_FILENO, &c, 1);
  ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

} // namespace lumbrix
