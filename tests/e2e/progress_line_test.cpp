// The live progress line of a console batch: drawn on a terminal only, cleared before the closing
// lines, and never changing what standard output receives.
#include "support/paths.h"
#include "support/png_reference.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace lumbrix::test {
namespace {

enum class ErrorsTo { terminal, file };

struct Captured {
  int exit_code = -1;
  QByteArray out;    // standard output, always a file
  QByteArray errors; // what the terminal or the file on standard error received
};

QByteArray read_file(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Everything the terminal's other end receives until the program has ended and closed it.
QByteArray drain(int master) {
  QByteArray received;
  char buffer[4096];
  for (;;) {
    pollfd fd{master, POLLIN, 0};
    if (::poll(&fd, 1, 60000) <= 0)
      return received;
    const ssize_t n = ::read(master, buffer, sizeof buffer);
    if (n > 0)
      received.append(buffer, n);
    else if (n == 0 || errno != EINTR)
      return received; // EIO: no one holds the terminal any more
  }
}

Captured run_lumbrix_with(const QStringList &arguments, ErrorsTo errors, const QString &dir) {
  const QByteArray out_path = QDir(dir).filePath(QStringLiteral("stdout")).toLocal8Bit();
  const QByteArray err_path = QDir(dir).filePath(QStringLiteral("stderr")).toLocal8Bit();
  int master = -1;
  int slave = -1;
  winsize size{24, 200, 0, 0};
  if (errors == ErrorsTo::terminal && ::openpty(&master, &slave, nullptr, nullptr, &size) != 0)
    return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  if (errors == ErrorsTo::terminal) {
    posix_spawn_file_actions_adddup2(&actions, slave, 2);
    posix_spawn_file_actions_addclose(&actions, slave);
    posix_spawn_file_actions_addclose(&actions, master);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, err_path.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
  }
  const QByteArray program = binary_path().toLocal8Bit();
  std::vector<QByteArray> owned{program};
  for (const QString &argument : arguments)
    owned.push_back(argument.toLocal8Bit());
  std::vector<char *> argv;
  for (QByteArray &a : owned)
    argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  Captured captured;
  if (errors == ErrorsTo::terminal) {
    ::close(slave);
    if (spawned == 0)
      captured.errors = drain(master);
    ::close(master);
  }
  int status = 0;
  if (spawned != 0 || ::waitpid(pid, &status, 0) != pid)
    return {};
  captured.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  captured.out = read_file(QString::fromLocal8Bit(out_path));
  if (errors == ErrorsTo::file)
    captured.errors = read_file(QString::fromLocal8Bit(err_path));
  return captured;
}

// The file counts the line went through, in the order drawn.
std::vector<int> counts_drawn(const QByteArray &errors) {
  static const QRegularExpression count(QStringLiteral("^(\\d+)/200 files"));
  std::vector<int> counts;
  for (const QByteArray &drawn : errors.split('\r')) {
    const auto match = count.match(QString::fromUtf8(drawn));
    if (match.hasMatch())
      counts.push_back(match.captured(1).toInt());
  }
  return counts;
}

// Enough work for the line to be drawn several times on a fast machine.
constexpr int batch_size = 200;
constexpr int picture_side = 500;

TEST(ProgressLine, DrawnOnATerminalOnlyAndNeverChangesStandardOutput) {
  QTemporaryDir in;
  QTemporaryDir work;
  ASSERT_TRUE(in.isValid() && work.isValid());
  const QString first = in.filePath(QStringLiteral("p000.png"));
  ASSERT_TRUE(write_grey_png(first, picture_side, picture_side));
  for (int i = 1; i < batch_size; ++i)
    ASSERT_TRUE(
        QFile::copy(first, in.filePath(QStringLiteral("p%1.png").arg(i, 3, 10, QChar('0')))));
  int runs = 0;
  const auto batch = [&](const QStringList &extra) {
    const QString out = work.filePath(QStringLiteral("out%1").arg(++runs));
    EXPECT_TRUE(QDir().mkpath(out));
    return QStringList{QStringLiteral("-i"), in.path(), QStringLiteral("-o"), out} + extra;
  };
  const QString quiet = QStringLiteral("-q");
  const struct {
    QStringList options;
    ErrorsTo errors;
    bool drawn;
  } cases[] = {
      {{}, ErrorsTo::terminal, true},
      {{QStringLiteral("--progress=never")}, ErrorsTo::terminal, false},
      {{quiet}, ErrorsTo::terminal, false},
      {{quiet, QStringLiteral("--progress=always")}, ErrorsTo::terminal, false},
      {{QStringLiteral("--progress=always")}, ErrorsTo::file, true},
  };
  // Redirected, a run writes its usual lines and nothing else anywhere.
  const Captured plain = run_lumbrix_with(batch({}), ErrorsTo::file, work.path());
  const Captured plain_quiet = run_lumbrix_with(batch({quiet}), ErrorsTo::file, work.path());
  ASSERT_EQ(plain.exit_code, 0);
  EXPECT_TRUE(plain.errors.isEmpty() && plain_quiet.errors.isEmpty());
  for (const auto &c : cases) {
    const QString name = c.options.join(QLatin1Char(' '));
    const Captured run = run_lumbrix_with(batch(c.options), c.errors, work.path());
    EXPECT_EQ(run.exit_code, 0) << name.toStdString();
    EXPECT_EQ(run.out, c.options.contains(quiet) ? plain_quiet.out : plain.out)
        << name.toStdString();
    if (!c.drawn) {
      EXPECT_TRUE(run.errors.isEmpty()) << name.toStdString() << ": " << run.errors.toStdString();
      continue;
    }
    const std::vector<int> counts = counts_drawn(run.errors);
    EXPECT_TRUE(std::is_sorted(counts.begin(), counts.end())) << name.toStdString();
    EXPECT_GE(std::set<int>(counts.begin(), counts.end()).size(), 3u) << name.toStdString();
    EXPECT_TRUE(run.errors.endsWith("\r\033[K")) << name.toStdString(); // cleared at the end
  }
}

} // namespace
} // namespace lumbrix::test
