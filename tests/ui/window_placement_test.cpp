#include "ui/window_placement.h"

#include <QtTest>

using namespace lumbrix;

class WindowPlacementTest : public QObject {
  Q_OBJECT

private slots:
  void windowEndsFullyOnOneScreen_data() {
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QRect>("placed");
    const QList<QRect> laptop{QRect(0, 0, 1280, 800)};
    const QList<QRect> two{QRect(0, 0, 1280, 800), QRect(1280, 0, 1920, 1080)};
    QTest::newRow("inside") << QRect(100, 100, 510, 260) << laptop << QRect(100, 100, 510, 260);
    QTest::newRow("far right") << QRect(3000, 100, 510, 260) << laptop << QRect(770, 100, 510, 260);
    QTest::newRow("above left") << QRect(-400, -50, 600, 260) << laptop << QRect(0, 0, 600, 260);
    QTest::newRow("below") << QRect(200, 780, 510, 260) << laptop << QRect(200, 516, 510, 260);
    // 1280 pixels at a scale of 2.
    QTest::newRow("scaled") << QRect(100, 40, 700, 260) << QList<QRect>{QRect(0, 0, 640, 400)}
                            << QRect(0, 40, 640, 260);
    QTest::newRow("minimum") << QRect(50, 50, 700, 300) << QList<QRect>{QRect(0, 0, 400, 200)}
                             << QRect(0, 0, 510, 260);
    QTest::newRow("mostly second")
        << QRect(1200, 100, 600, 260) << two << QRect(1280, 100, 600, 260);
    QTest::newRow("mostly first") << QRect(900, 100, 600, 260) << two << QRect(680, 100, 600, 260);
    QTest::newRow("nearest") << QRect(5000, 300, 600, 260) << two << QRect(2600, 300, 600, 260);
    QTest::newRow("no screens") << QRect(3000, 1, 510, 260) << QList<QRect>{}
                                << QRect(3000, 1, 510, 260);
  }
  void windowEndsFullyOnOneScreen() {
    QFETCH(QRect, stored);
    QFETCH(QList<QRect>, screens);
    QFETCH(QRect, placed);
    QCOMPARE(fit_onto_screens(stored, QMargins(0, 24, 0, 0), screens, QSize(510, 260)), placed);
  }
};

QTEST_MAIN(WindowPlacementTest)
#include "window_placement_test.moc"
