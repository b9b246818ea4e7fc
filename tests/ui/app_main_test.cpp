#include "engine/settings/product.h"
#include "platform/instance_channel.h"
#include "platform/instance_lock.h"
#include "shell_environment.h"
#include "virtual_display.h"

#include <QImageReader>
#include <QLocalServer>
#include <QLockFile>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

using namespace lumbrix;

// The program as a user starts it: one window front at a time, console runs regardless, and the
// screenshot mode.
class AppMainTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;

  QProcessEnvironment environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.config());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.runtime());
    return env;
  }

  void start(QProcess &process, const QStringList &arguments) const {
    process.setProcessEnvironment(environment());
    process.start(test::program_binary(), arguments);
    QVERIFY(process.waitForStarted());
  }

  int run(const QStringList &arguments, const QString &working_folder = QString()) const {
    QProcess process;
    process.setWorkingDirectory(working_folder);
    start(process, arguments);
    if (!process.waitForFinished(60000))
      return -2;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -3;
  }

private slots:
  void initTestCase() { QVERIFY(QFile::exists(test::program_binary())); }

  void secondWindowFrontEndsAtOnceWhileConsoleRunsStillConvert() {
    QProcess first;
    start(first, {});
    const QString lock = instance_lock_path(window_title());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lock), 30000);

    QCOMPARE(run({}), 0);
    QVERIFY(first.state() == QProcess::Running);

    const QString input = home.path(QStringLiteral("console.png"));
    const QString output = home.folder(QStringLiteral("console-out"));
    QVERIFY(test::write_png(input));
    QCOMPARE(run({QStringLiteral("-i"), input, QStringLiteral("-o"), output}), 0);
    QVERIFY(test::is_psd_file(output + QStringLiteral("console.psd")));

    first.kill();
    first.waitForFinished();
    // A lock left by a process that died does not keep the next window front out.
    QCOMPARE(claim_instance(window_title()).role, InstanceRole::first);
  }

  // The later start hands its files over whole, whatever their names hold, and touches nothing.
  void secondInstanceSendsItsFilesAndLeavesTheSettingsFileAlone() {
    const InstanceClaim held = claim_instance(window_title());
    QCOMPARE(held.role, InstanceRole::first);
    QList<QStringList> received;
    const InstanceChannel channel(window_title(),
                                  [&received](const QStringList &texts) { received << texts; });
    const QString settings_file = home.config() + QStringLiteral("/Vantrel/Lumbrix/config.ini");
    QFile::remove(settings_file);
    const QStringList files{home.path(QStringLiteral("line\nbreak.png")),
                            home.path(QStringLiteral("b.png"))};
    QProcess second;
    start(second, {files[0], QStringLiteral("file://") + files[1]});
    QTRY_COMPARE_WITH_TIMEOUT(received, QList<QStringList>{files}, 30000);
    QTRY_COMPARE_WITH_TIMEOUT(second.state(), QProcess::NotRunning, 30000);
    QCOMPARE(second.exitCode(), 0);
    QVERIFY(!QFile::exists(settings_file));
  }

  // As a desktop entry does it for several files at once (%F), from their folder; a later start
  // adds its file to those waiting. One conversion writes them all.
  void filesOfEveryStartReachTheOpenWindow() {
    test::VirtualDisplay display;
    QVERIFY2(display.start(), "needs Xvfb, openbox and xdotool (scripts/install-deps.sh)");
    const QString pictures = home.folder(QStringLiteral("pictures"));
    const QStringList names{"a", "b", "c", "d"};
    for (const QString &name : names)
      QVERIFY(test::write_png(pictures + name + ".png"));
    const auto start_in_pictures = [&](QProcess &process, const QStringList &files) {
      process.setProcessEnvironment(display.environment());
      process.setWorkingDirectory(pictures);
      process.start(test::program_binary(), files);
    };
    const QString title = window_title();
    // A channel left behind by a process that died does not stand in the way.
    QFile(instance_channel_path(title)).open(QIODevice::WriteOnly);

    QProcess first;
    start_in_pictures(first, {"a.png", "b.png", "c.png"});
    QTRY_COMPARE_WITH_TIMEOUT(display.active_window_title(), title, 30000);
    QVERIFY(display.xdotool({"getactivewindow", "windowminimize"}));
    QTRY_VERIFY_WITH_TIMEOUT(!display.shows(title), 30000);
    QProcess second;
    start_in_pictures(second, {"d.png"});
    QVERIFY(second.waitForFinished(30000) && second.exitCode() == 0);
    QTRY_VERIFY_WITH_TIMEOUT(display.shows(title), 30000);
    QTRY_COMPARE_WITH_TIMEOUT(display.active_window_title(), title, 30000);
    QVERIFY(display.xdotool({"key", "F5"}));
    for (const QString &name : names)
      QTRY_VERIFY_WITH_TIMEOUT(test::is_psd_file(pictures + name + ".psd"), 30000);
    QVERIFY(first.state() == QProcess::Running);
  }

  // One user on two displays: a start on each opens a window there.
  void eachDisplayHasAWindowOfItsOwn() {
    test::VirtualDisplay one, two;
    QVERIFY2(one.start() && two.start(), "needs Xvfb, openbox and xdotool");
    QProcess on_one, on_two;
    for (auto [display, process] : {std::pair{&one, &on_one}, std::pair{&two, &on_two}}) {
      process->setProcessEnvironment(display->environment());
      process->start(test::program_binary(), {});
      QTRY_VERIFY_WITH_TIMEOUT(display->shows(window_title()), 30000);
    }
    QVERIFY(on_one.state() == QProcess::Running && on_two.state() == QProcess::Running);
  }

  // A window front that takes no message does not swallow the start: it opens a window itself.
  void startNoWindowAnswersOpensItsOwn() {
    test::VirtualDisplay display;
    QVERIFY2(display.start(), "needs Xvfb, openbox and xdotool");
    const QByteArray own_display = qgetenv("DISPLAY");
    qputenv("DISPLAY", display.environment().value(QStringLiteral("DISPLAY")).toUtf8());
    const InstanceClaim held = claim_instance(window_title());
    own_display.isNull() ? qunsetenv("DISPLAY") : qputenv("DISPLAY", own_display);
    QCOMPARE(held.role, InstanceRole::first);
    QProcess window;
    window.setProcessEnvironment(display.environment());
    window.start(test::program_binary(), {});
    QTRY_VERIFY_WITH_TIMEOUT(display.shows(window_title()), 30000);
  }

  // Without a runtime folder, and the usual fallback taken by another user, whatever that user
  // planted in the shared folder is ignored: the window opens, and nothing is left there.
  void runtimeFolderOfAnotherUserIsNeitherUsedNorNeeded() {
    if (::geteuid() != 0 || QFile::exists(QStringLiteral("/run/user/0")))
      QSKIP("needs root to plant another user's folder");
    test::VirtualDisplay display;
    QVERIFY2(display.start(), "needs Xvfb, openbox and xdotool");
    QProcessEnvironment env = display.environment();
    const QString shared = home.folder(QStringLiteral("shared"));
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("TMPDIR"), shared);
    QVERIFY(QDir().mkpath(shared + "runtime-root"));
    QVERIFY(::chown(QFile::encodeName(shared + "runtime-root").constData(), 65534, 65534) == 0);
    const QString display_name = env.value(QStringLiteral("DISPLAY"));
    QLockFile planted(shared + window_title() + ".lock");
    QLockFile planted_here(shared + window_title() + " on " + display_name + ".lock");
    QVERIFY(planted.tryLock(0) && planted_here.tryLock(0));
    QLocalServer listener;
    QVERIFY(listener.listen(shared + window_title() + " on " + display_name + ".socket"));
    const QStringList before = QDir(shared).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QProcess window;
    window.setProcessEnvironment(env);
    window.start(test::program_binary(), {});
    QTRY_VERIFY_WITH_TIMEOUT(display.shows(window_title()), 30000);
    QCOMPARE(QDir(shared).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    QVERIFY(!listener.hasPendingConnections());
  }

  void screenshotModeWritesBothPictures() {
    const QString folder = home.folder(QStringLiteral("shots"));
    QCOMPARE(run({QStringLiteral("-T"), folder}), 0);
    QImageReader full(folder + QStringLiteral("Lumbrix1.jpg"));
    QImageReader small(folder + QStringLiteral("Lumbrix1x.jpg"));
    QCOMPARE(full.format(), QByteArray("jpeg"));
    const QSize size = full.size();
    QVERIFY(size.width() >= 510 && size.height() >= 260);
    QCOMPARE(small.size(), QSize(180, int(std::lround(180.0 * size.height() / size.width()))));
  }

  // Without a folder the pictures go into the current folder; a folder that is missing or cannot
  // be written fails the run.
  void screenshotModeWritesIntoTheCurrentFolderOrFails() {
    const QString here = home.folder(QStringLiteral("here"));
    const QString missing = home.path(QStringLiteral("no-shots"));
    const struct {
      QStringList arguments;
      int status;
      bool written;
    } cases[] = {
        {{QStringLiteral("-T")}, 0, true},
        {{QStringLiteral("-T"), missing}, 1, false},
        {{QStringLiteral("-T"), QStringLiteral("/proc")}, 1, false},
    };
    for (const auto &c : cases) {
      QCOMPARE(run(c.arguments, here), c.status);
      QCOMPARE(QFile::exists(here + QStringLiteral("Lumbrix1x.jpg")), c.written);
      QFile::remove(here + QStringLiteral("Lumbrix1.jpg"));
      QFile::remove(here + QStringLiteral("Lumbrix1x.jpg"));
    }
    QVERIFY(!QFile::exists(missing));
  }
};

QTEST_MAIN(AppMainTest)
#include "app_main_test.moc"
