#include "ui/main_layout.h"

#include <QtTest>

using namespace lumbrix;

class MainLayoutTest : public QObject {
  Q_OBJECT

private slots:
  void narrowestWindowMatchesTheCreationGeometry() {
    const BarHeights bars{22, 40, 20};
    const MainLayout layout = main_layout(QSize(510, 260), bars);
    QCOMPARE(layout.panel, QRect(0, 0, 510, 260 - 22 - 40 - 20 - 40));
    QCOMPARE(layout.input_field, QRect(10, 20, 350, 20));
    QCOMPARE(layout.folder_list, QRect(10, 60, 350, 21));
    QCOMPARE(layout.format_list, QRect(10, 100, 350, 21));
    QCOMPARE(layout.side_buttons[0], QRect(364, 19, 24, 24));
    QCOMPARE(layout.side_buttons[1], QRect(364, 59, 24, 24));
    // The third side button leaves its creation place (396) for the column of the others.
    QCOMPARE(layout.side_buttons[2], QRect(364, 99, 24, 24));
    QCOMPARE(layout.convert_button, QRect(400, 20, 100, 100));
  }

  void widerWindowWidensFieldsAndMovesButtons() {
    const MainLayout layout = main_layout(QSize(800, 260), BarHeights{22, 40, 20});
    QCOMPARE(layout.panel.width(), 800);
    QCOMPARE(layout.input_field.width(), 640);
    QCOMPARE(layout.folder_list.width(), 640);
    QCOMPARE(layout.format_list.width(), 640);
    for (const QRect &button : layout.side_buttons)
      QCOMPARE(button.x(), 654);
    QCOMPARE(layout.convert_button.x(), 690);
    QCOMPARE(layout.convert_button.y(), 20);
  }

  void panelHeightLeavesRoomForTheBars() {
    QCOMPARE(main_layout(QSize(510, 260), BarHeights{30, 72, 25}).panel.height(), 93);
  }

  void heightIsFixedAndWidthHasAFloor() {
    QCOMPARE(bounded_main_size(QSize(400, 500)), QSize(510, 260));
    QCOMPARE(bounded_main_size(QSize(1200, 100)), QSize(1200, 260));
  }
};

QTEST_MAIN(MainLayoutTest)
#include "main_layout_test.moc"
