#include "ui/mnemonics.h"

#include <QtTest>

using namespace lumbrix;

class MnemonicsTest : public QObject {
  Q_OBJECT

private slots:
  void lettersAreDistinctAndPreferWordStarts_data() {
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("marked");
    QTest::newRow("taken first letters")
        << QStringList{"Send", "Select Output...", "Search\tF3"}
        << QStringList{"&Send", "Select &Output...", "S&earch\tF3"};
    QTest::newRow("case does not free a letter")
        << QStringList{"about", "", "About"} << QStringList{"&about", "", "A&bout"};
    QTest::newRow("text's own ampersand")
        << QStringList{"Save & Close"} << QStringList{"&Save && Close"};
    QTest::newRow("none left") << QStringList{"Ab", "ba", "AB"} << QStringList{"&Ab", "&ba", "AB"};
    QTest::newRow("beyond ASCII") << QStringList{"Über"} << QStringList{"&Über"};
  }
  void lettersAreDistinctAndPreferWordStarts() {
    QFETCH(QStringList, captions);
    QFETCH(QStringList, marked);
    QCOMPARE(with_mnemonics(captions), marked);
  }
};

QTEST_MAIN(MnemonicsTest)
#include "mnemonics_test.moc"
