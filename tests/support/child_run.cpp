#include "support/child_run.h"

#include "support/paths.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace lumbrix::test {
namespace {

// Complete CR LF lines at the front of buffer, in UTF-16LE, taken off it.
void take_lines(QByteArray &buffer, const ChildOptions &options, ChildRun &run, pid_t pid) {
  static const QByteArray end("\r\0\n\0", 4);
  qsizetype at = 0;
  while ((at = buffer.indexOf(end, at)) >= 0) {
    if (at % 2 != 0) {
      ++at;
      continue;
    }
    const QString line =
        QString::fromUtf16(reinterpret_cast<const char16_t *>(buffer.constData()), at / 2);
    buffer.remove(0, at + end.size());
    at = 0;
    run.lines << line;
    if (options.on_line)
      options.on_line(line);
    if (const int signal = options.signal_on_line ? options.signal_on_line(line) : 0)
      kill(pid, signal);
  }
}

// Both the soft and the hard limit, so that the program cannot raise it again.
void set_limit(int resource, long long value) {
  if (value > 0) {
    const rlimit limit{static_cast<rlim_t>(value), static_cast<rlim_t>(value)};
    setrlimit(resource, &limit);
  }
}

[[noreturn]] void exec_child(const QStringList &arguments, const ChildOptions &options, int out) {
  set_limit(RLIMIT_FSIZE, options.file_size_limit);
  set_limit(RLIMIT_AS, options.address_space_limit);
  set_limit(RLIMIT_NOFILE, options.descriptor_limit);
  dup2(out, STDOUT_FILENO);
  const QByteArray program = binary_path().toLocal8Bit();
  std::vector<QByteArray> storage{program};
  for (const QString &argument : arguments)
    storage.push_back(argument.toLocal8Bit());
  std::vector<char *> argv;
  for (QByteArray &s : storage)
    argv.push_back(s.data());
  argv.push_back(nullptr);
  execv(program.constData(), argv.data());
  _exit(127);
}

} // namespace

ChildRun run_lumbrix_child(const QStringList &arguments, const ChildOptions &options) {
  ChildRun run;
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0)
    return run;
  const pid_t pid = fork();
  if (pid == 0) {
    close(pipe_ends[0]);
    exec_child(arguments, options, pipe_ends[1]);
  }
  close(pipe_ends[1]);
  QByteArray buffer;
  // A hung child is killed after ten minutes so that the suite ends; the test then fails on
  // finished, never on a time.
  int waited_ms = 0;
  const int tick_ms = options.on_tick ? 2 : 1000;
  for (;;) {
    pollfd fd{pipe_ends[0], POLLIN, 0};
    const int ready = poll(&fd, 1, tick_ms);
    if (options.on_tick)
      options.on_tick(pid);
    if (ready == 0 && (waited_ms += tick_ms) >= 600000)
      break;
    if (ready <= 0)
      continue;
    char chunk[4096];
    const ssize_t n = read(pipe_ends[0], chunk, sizeof chunk);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    buffer.append(chunk, n);
    take_lines(buffer, options, run, pid);
  }
  close(pipe_ends[0]);
  int status = 0;
  rusage usage{};
  if (waited_ms >= 600000)
    kill(pid, SIGKILL);
  else
    run.finished = true;
  while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  run.peak_rss_kb = usage.ru_maxrss;
  if (WIFEXITED(status))
    run.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status))
    run.signal = WTERMSIG(status);
  return run;
}

} // namespace lumbrix::test
