#include "ui/system_fonts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QtTest>

using namespace lumbrix;

class SystemFontsTest : public QObject {
  Q_OBJECT

  const QString missing = QStringLiteral("No Such Family 7f3a");
  QString installed;

private slots:
  void initTestCase() {
    installed = QFontDatabase::families().value(0);
    QVERIFY(!installed.isEmpty());
    QVERIFY(font_installed(installed));
    QVERIFY(!font_installed(missing));
  }

  // A stored font the list lacks is kept when the system has it.
  void theListKeepsAStoredFontTheSystemHas() {
    const struct {
      QString fonts;
      QString font;
      QStringList choices;
    } cases[] = {
        {QStringLiteral("Arial,Tahoma"),
         installed,
         {QStringLiteral("Arial"), QStringLiteral("Tahoma"), installed}},
        {QStringLiteral("Arial,Tahoma"),
         missing,
         {QStringLiteral("Arial"), QStringLiteral("Tahoma")}},
        {QStringLiteral("Arial,") + installed, installed, {QStringLiteral("Arial"), installed}},
        {QString(), installed, {installed}},
    };
    for (const auto &c : cases) {
      Settings s;
      s.fonts = c.fonts;
      s.font = c.font;
      QCOMPARE(font_choices(s), c.choices);
    }
  }
};

int main(int argc, char **argv) {
  QApplication application(argc, argv);
  SystemFontsTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "system_fonts_test.moc"
