#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace lumbrix::test {

// An X display of its own, as a desktop runs the program: Xvfb on a free display number,
// openbox managing the windows, xdotool to type and look.
class VirtualDisplay {
public:
  ~VirtualDisplay() {
    for (QProcess *process : {&manager_, &server_}) {
      process->kill();
      process->waitForFinished();
    }
  }

  // False when a tool is missing or the display does not come up.
  bool start() {
    server_.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-nolisten", "tcp"});
    while (server_.waitForStarted() && !server_.canReadLine() && server_.waitForReadyRead(10000)) {
    }
    env_.insert(QStringLiteral("DISPLAY"), ':' + QString::fromLatin1(server_.readLine().trimmed()));
    env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const QString ready = folder_.filePath(QStringLiteral("ready"));
    manager_.setProcessEnvironment(env_);
    manager_.start(QStringLiteral("openbox"), {"--startup", "touch " + ready});
    const QDeadlineTimer deadline(20000);
    while (!QFile::exists(ready) && !deadline.hasExpired())
      QThread::msleep(50);
    return QFile::exists(ready) && xdotool({QStringLiteral("version")});
  }

  // The test's own environment pointed at this display.
  QProcessEnvironment environment() const { return env_; }

  // Runs xdotool here; false when it fails. What it prints goes to output.
  bool xdotool(const QStringList &arguments, QString *output = nullptr) const {
    QProcess tool;
    tool.setProcessEnvironment(env_);
    tool.start(QStringLiteral("xdotool"), arguments);
    const bool ran = tool.waitForFinished(10000) && tool.exitStatus() == QProcess::NormalExit &&
                     tool.exitCode() == 0;
    if (ran && output)
      *output = QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    return ran;
  }

  QString active_window_title() const {
    QString title;
    xdotool({QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")}, &title);
    return title;
  }

  // True when a window of that title is mapped, not minimised.
  bool shows(const QString &title) const {
    return xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                    QStringLiteral("--name"), '^' + title + '$'});
  }

private:
  QProcessEnvironment env_ = QProcessEnvironment::systemEnvironment();
  QTemporaryDir folder_;
  QProcess server_;
  QProcess manager_;
};

} // namespace lumbrix::test
