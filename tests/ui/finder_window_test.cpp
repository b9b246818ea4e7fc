#include "shell_environment.h"
#include "support/scripted_dialogs.h"
#include "ui/finder_window.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

using namespace lumbrix;

class FinderWindowTest : public QObject {
  Q_OBJECT

  test::TemporaryHome home;
  test::InstalledDialogs installed;
  test::ScriptedDialogs &dialogs = installed.dialogs;
  QPointer<FinderWindow> finder;

  void search(const QString &from, const QString &to) {
    finder->from_field()->setText(from);
    finder->to_field()->setText(to);
    QTest::mouseClick(finder->search_button(), Qt::LeftButton);
  }

private slots:
  void initTestCase() { test::start_main_window(); }
  void cleanupTestCase() { destroy_main_window(); }
  void init() {
    dialogs = test::ScriptedDialogs();
    finder = open_finder();
  }
  void cleanup() { delete finder; }

  void filtersKeepAsciiLettersAndDigits() {
    QCOMPARE(letters_and_digits(QStringLiteral("PNG!")), QStringLiteral("PNG"));
    QCOMPARE(letters_and_digits(QStringLiteral("p s d")), QStringLiteral("psd"));
    QCOMPARE(letters_and_digits(QString::fromUtf8("jpé-g2")), QStringLiteral("jpg2"));
    QCOMPARE(letters_and_digits(QStringLiteral("!?.")), QString());
    // The cut comes before the filter.
    QCOMPARE(finder_extension(QStringLiteral("abcdefghijkl-mn")), QStringLiteral("abcdefghijkl"));
    QCOMPARE(finder_extension(QStringLiteral("ab-cd-ef-gh-ij")), QStringLiteral("abcdefgh"));
    QCOMPARE(finder_extension(QStringLiteral("TIFF")), QStringLiteral("tiff"));
  }

  void opensAsAChildOfTheMainWindow() {
    QVERIFY(finder->isVisible());
    QCOMPARE(finder->parentWidget(), static_cast<QWidget *>(main_window()));
    QCOMPARE(finder->windowTitle(), QStringLiteral("Find a File Converter"));
    QCOMPARE(finder->size(), QSize(370, 60));
    QVERIFY(finder->isModal() || finder->windowModality() != Qt::NonModal);
  }

  void searchOpensTheFinderPageAndCloses() {
    search(QStringLiteral("PNG!"), QStringLiteral("p s d"));
    QCOMPARE(dialogs.opened,
             QStringList{QStringLiteral("https://www.vantrel.example/find/png-psd/")});
    QTRY_VERIFY(finder.isNull() || !finder->isVisible());
  }

  void emptyOrPunctuationOnlyFieldsWarnAndStayOpen() {
    search(QStringLiteral("png"), QString());
    search(QStringLiteral("--!"), QStringLiteral("psd"));
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Warning"));
    QCOMPARE(dialogs.messages[0].text,
             QStringLiteral("Please, fill all required fields and try again!"));
    QVERIFY(dialogs.opened.isEmpty());
    QVERIFY(finder->isVisible());
    QCOMPARE(finder->from_field()->text(), QStringLiteral("--!"));
  }

  void returnSearchesAndEscapeCloses() {
    finder->from_field()->setText(QStringLiteral("gif"));
    finder->to_field()->setText(QStringLiteral("psd"));
    QTest::keyClick(finder->to_field(), Qt::Key_Return);
    QCOMPARE(dialogs.opened,
             QStringList{QStringLiteral("https://www.vantrel.example/find/gif-psd/")});
    FinderWindow *second = open_finder();
    QPointer<FinderWindow> watched(second);
    QTest::keyClick(second->from_field(), Qt::Key_Escape);
    QTRY_VERIFY(watched.isNull() || !watched->isVisible());
    delete watched;
    QCOMPARE(dialogs.opened.size(), 1);
  }
};

QTEST_MAIN(FinderWindowTest)
#include "finder_window_test.moc"
