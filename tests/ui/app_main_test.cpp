#include "engine/settings/product.h"
#include "platform/instance_channel.h"
#include "platform/instance_lock.h"
#include "shell_environment.h"
#include "virtual_display.h"

#include <QImageReader>
#include <QProcess>
#include <QtTest>

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
    QVERIFY(single_instance(window_title()));
  }

  void secondInstanceLeavesTheSettingsFileAlone() {
    auto held = single_instance(window_title());
    QVERIFY(held);
    const QString settings_file = home.config() + QStringLiteral("/Vantrel/Lumbrix/config.ini");
    QFile::remove(settings_file);
    QCOMPARE(run({}), 0);
    QVERIFY(!QFile::exists(settings_file));
  }

  // As a file manager's "Open with" does it: the file as the one parameter, from its folder.
  void fileArgumentAndSecondStartReachTheOpenWindow() {
    test::VirtualDisplay display;
    QVERIFY2(display.start(), "needs Xvfb, openbox and xdotool (scripts/install-deps.sh)");
    const QString pictures = home.folder(QStringLiteral("pictures"));
    QVERIFY(test::write_png(pictures + "photo.png") && test::write_png(pictures + "second.png"));
    const auto start_in_pictures = [&](QProcess &process, const QString &file) {
      process.setProcessEnvironment(display.environment());
      process.setWorkingDirectory(pictures);
      process.start(test::program_binary(), {file});
    };
    const QString title = window_title();
    // The key converts what the window shows, into the picture's folder; then OK.
    const auto convert_with = [&](const QString &key, const QString &output) {
      QTRY_COMPARE_WITH_TIMEOUT(display.active_window_title(), title, 30000);
      QVERIFY(display.xdotool({"key", key}));
      QTRY_VERIFY_WITH_TIMEOUT(test::is_psd_file(pictures + output), 30000);
      QTRY_VERIFY_WITH_TIMEOUT(display.active_window_title().startsWith("Conversion complete"),
                               30000);
      QVERIFY(display.xdotool({"key", "Return"}));
    };
    // A channel left behind by a process that died does not stand in the way.
    QFile(instance_channel_path(title)).open(QIODevice::WriteOnly);

    QProcess first;
    start_in_pictures(first, QStringLiteral("photo.png"));
    convert_with(QStringLiteral("Return"), QStringLiteral("photo.psd"));
    QTRY_COMPARE_WITH_TIMEOUT(display.active_window_title(), title, 30000);
    QVERIFY(display.xdotool({"getactivewindow", "windowminimize"}));
    QTRY_VERIFY_WITH_TIMEOUT(!display.shows(title), 30000);
    QProcess second;
    start_in_pictures(second, QStringLiteral("second.png"));
    QVERIFY(second.waitForFinished(30000) && second.exitCode() == 0);
    QTRY_VERIFY_WITH_TIMEOUT(display.shows(title), 30000);
    convert_with(QStringLiteral("F5"), QStringLiteral("second.psd"));
    QVERIFY(first.state() == QProcess::Running);
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
