#include "shell_environment.h"
#include "support/scripted_dialogs.h"
#include "ui/about_window.h"
#include "ui/link_widget.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace lumbrix;

class AboutWindowTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;
  test::InstalledDialogs installed;
  test::ScriptedDialogs &dialogs = installed.dialogs;
  QPointer<AboutWindow> about;

  QLabel *label(const QString &text) const {
    for (QLabel *found : about->findChildren<QLabel *>()) {
      if (found->text() == text)
        return found;
    }
    return nullptr;
  }

  void verify_closed() {
    QTRY_VERIFY(about.isNull());
    QVERIFY(main_window()->isEnabled());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget *>(main_window()));
  }

private slots:
  void initTestCase() { test::start_main_window(); }
  void cleanupTestCase() { destroy_main_window(); }
  void init() {
    dialogs = test::ScriptedDialogs();
    about = open_about();
    QVERIFY(QTest::qWaitForWindowActive(about));
  }
  void cleanup() { delete about; }

  void opensModalOverTheMainWindow() {
    QCOMPARE(about->parentWidget(), static_cast<QWidget *>(main_window()));
    QCOMPARE(about->windowTitle(), QStringLiteral("About..."));
    QCOMPARE(about->size(), QSize(360, 240));
    QCOMPARE(QApplication::activeModalWidget(), about.data());
    QVERIFY(about->isAncestorOf(QApplication::focusWidget()));
    const QPoint offset = about->geometry().center() - main_window()->geometry().center();
    QVERIFY2(offset.manhattanLength() <= 4, "not centred on the main window");
    QVERIFY(label(QStringLiteral("Vantrel PNG to PSD 2.2")));
    // Help/About again brings the same window forward.
    QCOMPARE(open_about(), about.data());
  }

  void linksOpenTheSiteAndTheMailbox() {
    for (LinkWidget *link : {about->web_link(), about->mail_link()})
      QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QTest::mouseClick(about->web_link(), Qt::LeftButton);
    QTest::mouseClick(about->mail_link(), Qt::LeftButton);
    // Pressed, then released off the text: no click.
    QTest::mousePress(about->web_link(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(about->web_link(), Qt::LeftButton, {}, QPoint(5, 40));
    QTest::mouseClick(about->web_link(), Qt::RightButton);
    QCOMPARE(dialogs.opened, (QStringList{QStringLiteral("https://www.vantrel.example"),
                                          QStringLiteral("mailto:support@vantrel.example")}));
    QVERIFY(about->isVisible());
  }

  void returnEscapeOkAndCloseBoxClose_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("Return") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("OK") << 2;
    QTest::newRow("close box") << 3;
  }
  void returnEscapeOkAndCloseBoxClose() {
    QFETCH(int, way);
    QWidget *focus = about->focusWidget();
    if (way == 0)
      QTest::keyClick(focus, Qt::Key_Return);
    else if (way == 1)
      QTest::keyClick(focus, Qt::Key_Escape);
    else if (way == 2)
      QTest::mouseClick(about->ok_button(), Qt::LeftButton);
    else
      about->close();
    verify_closed();
    QVERIFY(dialogs.opened.isEmpty());
  }
};

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"
