#include "engine/product.h"
#include "platform/instance_lock.h"
#include "shell_environment.h"

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

  int run(const QStringList &arguments) const {
    QProcess process;
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

  void screenshotModeIntoAMissingFolderWritesNothing() {
    const QString missing = home.path(QStringLiteral("no-shots"));
    QCOMPARE(run({QStringLiteral("-T"), missing}), 0);
    QVERIFY(!QFile::exists(missing));
  }
};

QTEST_MAIN(AppMainTest)
#include "app_main_test.moc"
