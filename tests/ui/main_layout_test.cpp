#include "ui/main_layout.h"

#include <QtTest>

using namespace lumbrix;

class MainLayoutTest : public QObject {
  Q_OBJECT

  const BarHeights bars{20, 40, 20};

private slots:
  // From small fonts to very large ones: each label ends above its field, each field above the
  // next label, the buttons keep clear, and all of it fits the window's fixed height.
  void rowsNeverOverlapAtAnyFontSize() {
    for (const RowHeights &rows : {RowHeights{13, 18, 13}, RowHeights{17, 25, 17},
                                   RowHeights{30, 40, 30}, RowHeights{60, 80, 60}}) {
      const int height = fixed_main_height(bars, rows);
      const MainLayout l = main_layout(QSize(600, height), bars, rows);
      const QRect fields[] = {l.input_field, l.folder_list, l.format_list};
      for (int i = 0; i < 3; ++i) {
        QVERIFY(l.labels[i].bottom() < fields[i].top() && l.labels[i].height() >= rows.label);
        QVERIFY(i == 0 || fields[i - 1].bottom() < l.labels[i].top());
        QVERIFY(!l.side_buttons[i].intersects(fields[i]));
        QVERIFY(!l.side_buttons[i].intersects(l.convert_button));
        QVERIFY(l.panel.contains(fields[i] | l.side_buttons[i] | l.convert_button));
      }
      QVERIFY(l.panel.bottom() < l.notice.top());
      QVERIFY(l.notice.bottom() < height - bars.menu - bars.toolbar - bars.status);
      QCOMPARE(height == main_height, rows.label < 30);
    }
  }
};

QTEST_MAIN(MainLayoutTest)
#include "main_layout_test.moc"
