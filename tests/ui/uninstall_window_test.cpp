#include "support/scripted_dialogs.h"
#include "text/lang.h"
#include "ui/uninstall_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

using namespace lumbrix;

class UninstallWindowTest : public QObject {
  Q_OBJECT

  test::InstalledDialogs installed;
  test::ScriptedDialogs &dialogs = installed.dialogs;

  const QString address = QStringLiteral("https://www.vantrel.example/Lumbrix/uninstall.html");

private slots:
  void initTestCase() { lang_load(); }
  void init() { dialogs = test::ScriptedDialogs(); }

  void pageStandsCentredWithTheBoxTicked() {
    UninstallWindow page;
    page.show();
    QCOMPARE(page.windowTitle(), QStringLiteral("Uninstall"));
    QCOMPARE(page.size(), QSize(300, 100));
    QCOMPARE(page.parentWidget(), nullptr);
    const QPoint offset =
        page.geometry().center() - QGuiApplication::primaryScreen()->availableGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 4, "not centred on the screen");
    QCOMPARE(page.visit_box()->text(), QStringLiteral("Full Uninstall - Visit Uninstall Center"));
    QVERIFY(page.visit_box()->isChecked());
    QCOMPARE(page.next_button()->text(), QStringLiteral("Next"));
  }

  void nextOpensTheUninstallPageOnlyWhenTicked() {
    UninstallWindow ticked;
    ticked.show();
    QTest::mouseClick(ticked.next_button(), Qt::LeftButton);
    QVERIFY(!ticked.isVisible());
    QCOMPARE(dialogs.opened, QStringList{address});

    UninstallWindow unticked;
    unticked.show();
    QTest::mouseClick(unticked.visit_box(), Qt::LeftButton);
    QVERIFY(!unticked.visit_box()->isChecked());
    QTest::mouseClick(unticked.next_button(), Qt::LeftButton);
    QVERIFY(!unticked.isVisible());
    QCOMPARE(dialogs.opened.size(), 1);
  }

  void closeBoxAndEscapeLeaveWithoutOpening() {
    UninstallWindow closed;
    closed.show();
    closed.close();
    QVERIFY(!closed.isVisible());
    UninstallWindow escaped;
    escaped.show();
    QTest::keyClick(escaped.next_button(), Qt::Key_Escape);
    QVERIFY(!escaped.isVisible());
    QVERIFY(dialogs.opened.isEmpty());
  }

  // The page runs its own loop and returns when left; dialogs already installed stay in use.
  void showRunsUntilTheUserLeaves() {
    QTimer::singleShot(0, this, [] {
      for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *page = qobject_cast<UninstallWindow *>(window); page && page->isVisible())
          page->next_button()->click();
      }
    });
    show_uninstall_page();
    QCOMPARE(dialogs.opened, QStringList{address});
    QCOMPARE(&system_dialogs(), &dialogs);
  }
};

QTEST_MAIN(UninstallWindowTest)
#include "uninstall_window_test.moc"
