#include "engine/settings/product.h"
#include "shell_environment.h"
#include "support/scripted_dialogs.h"
#include "ui/input_output.h"
#include "ui/main_window.h"
#include "ui/window_front.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QtTest>

#include <sys/resource.h>

using namespace lumbrix;

class WindowFrontTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;

private slots:
  void cleanup() {
    destroy_main_window();
    QFile::remove(home.settings_file());
  }

  void freshSettingsFolderStartsCentredWithDefaults() {
    QVERIFY(!QFile::exists(home.settings_file()));
    start_window_front();
    MainWindow *window = main_window();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Vantrel PNG to PSD 2.2"));
    QCOMPARE(window->size(), QSize(510, 260));
    const QSize desktop = QGuiApplication::primaryScreen()->availableGeometry().size();
    QCOMPARE(window->pos(), QPoint((desktop.width() - 510) / 2, (desktop.height() - 260) / 2));
    QCOMPARE(window->status_text(), QStringLiteral("Ready"));
    QCOMPARE(window->format_list()->count(), 1);
    QVERIFY(window->format_list()->currentText().startsWith(QStringLiteral("PSD (")));
    // An empty history leaves one empty item so the list has a height to show.
    QCOMPARE(window->folder_list()->count(), 1);
    QVERIFY(window->folder_list()->currentText().isEmpty());

    window->move(120, 130);
    window->resize(640, 400);
    QCOMPARE(window->height(), 260);
    finish_window_front();
    QVERIFY(QFile::exists(home.settings_file()));
    test::reread_settings();
    QCOMPARE(settings().window_width, 640);
    QCOMPARE(settings().window_height, 260);
    QCOMPARE(settings().window_x, 120);
    QCOMPARE(settings().window_y, 130);
    QCOMPARE(int(settings().is_maximized), 0);
  }

  void savedGeometryAndHistoryAreRestored() {
    test::write_settings([](Settings &s) {
      s.window_width = 700;
      s.window_x = 30;
      s.window_y = 40;
      s.recent_out_folders = QStringLiteral("/srv/a/\t/srv/b/");
    });
    start_window_front();
    MainWindow *window = main_window();
    QCOMPARE(window->size(), QSize(700, 260));
    QCOMPARE(window->pos(), QPoint(30, 40));
    QCOMPARE(window->folder_list()->count(), 2);
    QCOMPARE(window->folder_list()->itemText(1), QStringLiteral("/srv/b/"));
    QCOMPARE(window->folder_list()->currentIndex(), -1);
    finish_window_front();
    test::reread_settings();
    QCOMPARE(settings().recent_out_folders, QStringLiteral("/srv/a/\t/srv/b/"));
  }

  void positionOffTheScreenComesBackFullyVisible() {
    test::write_settings([](Settings &s) {
      s.window_width = 700;
      s.window_x = 3000;
      s.window_y = -500;
    });
    start_window_front();
    const MainWindow *window = main_window();
    QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
    QCOMPARE(window->width(), 700);
  }

  void maximisedWindowKeepsItsNormalGeometry() {
    test::write_settings([](Settings &s) {
      s.window_width = 700;
      s.window_x = 30;
      s.window_y = 40;
      s.is_maximized = 1;
    });
    start_window_front();
    QVERIFY(main_window()->isMaximized());
    finish_window_front();
    test::reread_settings();
    QCOMPARE(int(settings().is_maximized), 1);
    QCOMPARE(settings().window_width, 700);
    QCOMPARE(settings().window_x, 30);
    QCOMPARE(settings().window_y, 40);
  }

  void minimisedWindowStoresNothingNew() {
    test::write_settings([](Settings &s) {
      s.window_width = 600;
      s.window_x = 11;
      s.window_y = 22;
    });
    start_window_front();
    MainWindow *window = main_window();
    window->resize(900, 260);
    window->move(300, 200);
    window->setWindowState(Qt::WindowMinimized);
    QVERIFY(window->isMinimized());
    finish_window_front();
    test::reread_settings();
    QCOMPARE(settings().window_width, 600);
    QCOMPARE(settings().window_x, 11);
    QCOMPARE(settings().window_y, 22);
  }

  void historyOffEmptiesRecentFoldersAtExit() {
    test::write_settings([](Settings &s) {
      s.out_folders_history = 0;
      s.recent_out_folders = QStringLiteral("/srv/a/");
    });
    start_window_front();
    finish_window_front();
    test::reread_settings();
    QVERIFY(settings().recent_out_folders.isEmpty());
  }

  // A new account: HOME is empty, no configuration folder, no XDG_CONFIG_HOME.
  void newAccountKeepsItsSettings() {
    QTemporaryDir new_home;
    const QByteArray saved_home = qgetenv("HOME");
    const QByteArray saved_config = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", new_home.path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    test::InstalledDialogs installed;
    start_window_front();
    finish_window_front();
    qputenv("HOME", saved_home);
    qputenv("XDG_CONFIG_HOME", saved_config);
    QVERIFY(QFile::exists(new_home.filePath(".config/Vantrel/Lumbrix/config.ini")));
    QVERIFY(installed.dialogs.messages.isEmpty());
  }

  void unwritableSettingsAreReportedOnceWithPathAndReason() {
    const QByteArray saved_config = qgetenv("XDG_CONFIG_HOME");
    // A file where the configuration folder should be: no folder can be made below it.
    QFile blocker(home.path(QStringLiteral("not-a-folder")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    qputenv("XDG_CONFIG_HOME", blocker.fileName().toUtf8());
    test::InstalledDialogs installed;
    start_window_front();
    finish_window_front();
    qputenv("XDG_CONFIG_HOME", saved_config);
    const auto &messages = installed.dialogs.messages;
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].icon, MessageIcon::Error);
    QVERIFY(messages[0].text.contains(blocker.fileName() + "/Vantrel/Lumbrix/config.ini"));
    QVERIFY2(!messages[0].text.contains(QStringLiteral("%s")), qPrintable(messages[0].text));
  }

  void closingTheWindowAsksToQuit() {
    start_window_front();
    QSignalSpy quit(main_window(), &MainWindow::quit_requested);
    main_window()->close();
    QCOMPARE(quit.count(), 1);
  }

  // A later start adds its files after those shown, each once; what is not a picture stays out.
  void laterStartsAddTheirFilesToTheInput() {
    const QString a = home.path("a.png"), b = home.path("b.png"), c = home.path("c.png");
    QVERIFY(test::write_png(a) && test::write_png(b) && test::write_png(c));
    const QString text = home.file(QStringLiteral("notes.txt"), "text");
    start_window_front();
    const struct {
      QStringList sent;
      QStringList listed;
    } starts[] = {
        {{}, {}},
        {{a}, {a}},
        {{b, a, text}, {a, b}},
        {{c, b}, {a, b, c}},
    };
    for (const auto &start : starts) {
      receive_second_start(start.sent);
      QStringList listed;
      for (const InputFile &file : shown_inputs())
        listed << file.path;
      QCOMPARE(listed, start.listed);
    }
    // A file typed in the field counts as shown.
    main_window()->input_field()->setText(b);
    receive_second_start({c});
    QCOMPARE(shown_inputs().size(), size_t(2));
  }

  // Two hundred megabytes of blank lines, and a folder in the file's place: the window starts
  // at once from the defaults, and the file is kept aside instead of being overwritten at exit.
  void unreadableSettingsFileIsKeptAsideAndTheDefaultsUsed() {
    const QString aside = home.settings_file() + QStringLiteral(".unreadable");
    for (const bool oversized : {true, false}) {
      if (oversized) {
        QFile file(home.settings_file());
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QByteArray blank_lines(1 << 20, '\n');
        for (int i = 0; i < 200; ++i)
          file.write(blank_lines);
      } else {
        QVERIFY(QDir().mkpath(home.settings_file()));
      }
      start_window_front();
      QCOMPARE(main_window()->size(), QSize(510, 260));
      finish_window_front();
      QCOMPARE(QFileInfo(aside).isDir(), !oversized);
      if (oversized)
        QCOMPARE(QFileInfo(aside).size(), 200LL << 20);
      test::reread_settings();
      QCOMPARE(settings().window_width, 510);
      QVERIFY(QFile::remove(home.settings_file()));
      QVERIFY(oversized ? QFile::remove(aside) : QDir(aside).removeRecursively());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    QVERIFY(usage.ru_maxrss < 200 * 1024);
  }
};

QTEST_MAIN(WindowFrontTest)
#include "window_front_test.moc"
