#include "ui/screenshot_mode.h"

#include <QtTest>

using namespace lumbrix;

class ScreenshotModeTest : public QObject {
  Q_OBJECT

  static int dark_pixels(const QImage &picture, const QRect &area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x)
        count += qGray(picture.pixel(x, y)) < 128 ? 1 : 0;
    }
    return count;
  }

private slots:
  void thumbnailKeepsTheProportionRounded() {
    QCOMPARE(thumbnail(QImage(514, 264, QImage::Format_RGB32), 180).size(), QSize(180, 92));
    QCOMPARE(thumbnail(QImage(100, 51, QImage::Format_RGB32), 180).size(), QSize(180, 92));
    QCOMPARE(thumbnail(QImage(360, 181, QImage::Format_RGB32), 180).size(), QSize(180, 91));
  }

  void vendorAddressGoesIntoTheLowerRightCorner() {
    QImage picture(510, 260, QImage::Format_RGB32);
    picture.fill(Qt::white);
    draw_vendor_address(picture);
    QVERIFY(dark_pixels(picture, QRect(250, 234, 225, 26)) > 20);
    QCOMPARE(dark_pixels(picture, QRect(0, 0, 510, 220)), 0);
    QCOMPARE(dark_pixels(picture, QRect(476, 0, 34, 260)), 0);
  }
};

QTEST_MAIN(ScreenshotModeTest)
#include "screenshot_mode_test.moc"
