#include "platform/shipped_files.h"
#include "shell_environment.h"
#include "support/scripted_dialogs.h"
#include "ui/command_dispatch.h"
#include "ui/commands.h"
#include "ui/finder_window.h"
#include "ui/window_job.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QtTest>

using namespace lumbrix;

namespace {

// The manual as the help commands hand it to the desktop: an existing file.
void verifyIsTheManual(const QString &opened) {
  QCOMPARE(QFileInfo(opened).fileName(), QStringLiteral("Lumbrix.html"));
  QVERIFY2(QFileInfo(opened).isFile(), qPrintable(opened));
}

} // namespace

class CommandDispatchTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;
  test::InstalledDialogs installed;
  test::ScriptedDialogs &dialogs = installed.dialogs;

  void send(Command command) { dispatch_command(command); }

private slots:
  void init() {
    settings() = default_settings(SettingsUse::Window);
    dialogs = test::ScriptedDialogs();
    test::start_main_window();
    // As the program in the build folder runs, with its data and manual beside it.
    set_shipped_program_folder(QFileInfo(test::program_binary()).absolutePath() + '/');
  }
  void cleanup() {
    for (FinderWindow *finder : main_window()->findChildren<FinderWindow *>())
      delete finder;
    destroy_main_window();
  }

  void newEmptiesTheJob() {
    main_window()->input_field()->setText(QStringLiteral("/tmp/x.png"));
    window_job().preferences_start_page = 3;
    main_window()->set_status_text(QStringLiteral("Conversion complete"));
    send(Command::New);
    QVERIFY(main_window()->input_field()->text().isEmpty());
    QCOMPARE(window_job().preferences_start_page, 0);
    QCOMPARE(main_window()->status_text(), QStringLiteral("Ready"));
  }

  void exitAsksToQuit() {
    QSignalSpy quit(main_window(), &MainWindow::quit_requested);
    send(Command::Exit);
    QCOMPARE(quit.count(), 1);
  }

  void addInputFileOpensTheFileDialog() {
    send(Command::SelectInputFile);
    QCOMPARE(dialogs.file_requests.size(), 1);
    QCOMPARE(dialogs.file_requests[0].title, QStringLiteral("Select Input Files"));
  }

  void selectOutputFolderOpensTheFolderDialog() {
    send(Command::SelectOutputFolder);
    QCOMPARE(dialogs.folder_requests.size(), 1);
    QCOMPARE(dialogs.folder_requests[0].title, QStringLiteral("Select Output Folder"));
  }

  void outputOptionsChooseThePreferencesPageAndPreferencesKeepIt() {
    send(Command::Preferences);
    QCOMPARE(window_job().preferences_start_page, 0);
    send(Command::OutputFormatOptions);
    QCOMPARE(window_job().preferences_start_page, 3);
    send(Command::Preferences);
    QCOMPARE(window_job().preferences_start_page, 3);
    send(Command::New);
    QCOMPARE(window_job().preferences_start_page, 0);
  }

  void convertStartsTheChecks() {
    send(Command::Convert);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text,
             QStringLiteral("No input file(s) found. Please, add valid file(s) and try again!"));
    QCOMPARE(main_window()->status_text(), QStringLiteral("Conversion stopped"));
  }

  void customConverterOpensTheFinder() {
    send(Command::CustomConverter);
    const auto finders = main_window()->findChildren<FinderWindow *>();
    QCOMPARE(finders.size(), 1);
    QVERIFY(finders[0]->isVisible());
  }

  void helpCommandsOpenTheirTargets() {
    send(Command::Manual);
    send(Command::SendFeedback);
    send(Command::VisitHomepage);
    QCOMPARE(dialogs.opened.size(), 3);
    verifyIsTheManual(dialogs.opened[0]);
    QCOMPARE(
        dialogs.opened[1],
        QStringLiteral("mailto:support@vantrel.example?subject=Vantrel PNG to PSD 2.2 Feedback"));
    QCOMPARE(dialogs.opened[2], QStringLiteral("https://www.vantrel.example/Lumbrix/"));
    QVERIFY(dialogs.messages.isEmpty());
  }

  // When the desktop cannot open a target the user is told which.
  void aTargetTheDesktopCannotOpenIsNamed() {
    dialogs.open_result = false;
    send(Command::VisitHomepage);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].icon, MessageIcon::Error);
    QVERIFY(
        dialogs.messages[0].text.endsWith(QStringLiteral("https://www.vantrel.example/Lumbrix/")));
  }

  // The update check itself is tested against a local server; here the name would be looked up.
  void aboutOpensItsWindowOverTheMainWindow() {
    send(Command::About);
    QDialog *about = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
      if (widget->isVisible() && widget->windowTitle() == QStringLiteral("About..."))
        about = qobject_cast<QDialog *>(widget);
    QVERIFY(about);
    QCOMPARE(about->parentWidget(), static_cast<QWidget *>(main_window()));
    about->close();
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(dialogs.opened.isEmpty());
  }

  void unknownNumbersDoNothing() {
    main_window()->input_field()->setText(QStringLiteral("kept"));
    for (int command : {1, 2, 4, 6, 9, 15, 19, 20, 25, 99, -1})
      dispatch_command(static_cast<Command>(command));
    QCOMPARE(main_window()->input_field()->text(), QStringLiteral("kept"));
    QVERIFY(dialogs.messages.isEmpty() && dialogs.file_requests.isEmpty());
  }

  void shortcutsAndButtonsReachTheDispatcher() {
    MainWindow *window = main_window();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_F1);
    QCOMPARE(dialogs.opened.size(), 1);
    verifyIsTheManual(dialogs.opened[0]);
    window->input_field()->setText(QStringLiteral("typed"));
    QTest::keyClick(window, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(window->input_field()->text().isEmpty());
    QTest::keyClick(window, Qt::Key_F5);
    QCOMPARE(dialogs.messages.size(), 1);
    QTest::mouseClick(window->side_button(0), Qt::LeftButton);
    QCOMPARE(dialogs.file_requests.size(), 1);
    QTest::mouseClick(window->side_button(1), Qt::LeftButton);
    QCOMPARE(dialogs.folder_requests.size(), 1);
    QTest::mouseClick(window->convert_button(), Qt::LeftButton);
    QCOMPARE(dialogs.messages.size(), 2);
    // Return in the input field converts: here the check refuses the empty output folder.
    QTest::keyClick(window->input_field(), Qt::Key_Return);
    QCOMPARE(dialogs.messages.size(), 3);
    QSignalSpy quit(window, &MainWindow::quit_requested);
    QTest::keyClick(window, Qt::Key_X, Qt::AltModifier);
    QCOMPARE(quit.count(), 1);
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(quit.count(), 2);
  }

  void altLetterAndF10OpenTheMenus() {
    MainWindow *window = main_window();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    const QList<QAction *> titles = window->menuBar()->actions();
    QTest::keyClick(window, Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(titles[2]->menu()->isVisible());
    titles[2]->menu()->close();
    QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
    QTest::keyClick(window, Qt::Key_F10);
    QTRY_VERIFY(titles[0]->menu()->isVisible());
    titles[0]->menu()->close();
  }

  void listsReportToTheRunState() {
    settings().recent_out_folders = QStringLiteral("/srv/a/\t/srv/b/");
    send(Command::New);
    QComboBox *folders = main_window()->folder_list();
    folders->setCurrentIndex(1);
    control_event(Control::FolderList);
    QCOMPARE(window_job().output_folder, QStringLiteral("/srv/b/"));
    settings().output_format.clear();
    control_event(Control::FormatList);
    QCOMPARE(settings().output_format, QStringLiteral("psd"));
  }
};

QTEST_MAIN(CommandDispatchTest)
#include "command_dispatch_test.moc"
