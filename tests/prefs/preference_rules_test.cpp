#include "prefs/preference_rules.h"
#include "text/lang.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

TEST(PreferenceRulesTest, TypedNumbersAreReadLeniently) {
  struct Case {
    const char *text;
    int minimum, maximum, expected;
  };
  for (const Case &c :
       {Case{"150", 1, 100, 100}, Case{"-5", -100, 100, -5}, Case{"-500", -100, 100, -100},
        Case{"abc", 1, 255, 1}, Case{"", 0, 360, 0}, Case{"-", 1, 50, 1}, Case{" 42 ", 0, 360, 42},
        Case{"99999999999", 0, 360, 360}})
    EXPECT_EQ(clamped_spin_value(QString::fromLatin1(c.text), c.minimum, c.maximum), c.expected)
        << c.text;
}

TEST(PreferenceRulesTest, GammaCountsInHundredthsWithinOneToNineNinetyNine) {
  struct Case {
    const char *text;
    int hundredths;
    const char *shown;
  };
  for (const Case &c : {Case{"2.5", 250, "2.50"}, Case{"0", 1, "0.01"}, Case{"12", 999, "9.99"},
                        Case{"1", 100, "1.00"}, Case{"0.014", 1, "0.01"},
                        Case{"1.016", 102, "1.02"}, Case{"x", 1, "0.01"}, Case{"-3", 1, "0.01"}}) {
    EXPECT_EQ(gamma_hundredths(QString::fromLatin1(c.text)), c.hundredths) << c.text;
    EXPECT_EQ(gamma_text(c.hundredths), QLatin1String(c.shown)) << c.text;
  }
  // Stored gammas come back exactly, so opening and confirming changes nothing.
  for (const float gamma : {1.0f, 1.01f, 2.2f, 0.01f, 9.99f})
    EXPECT_EQ(static_cast<float>(gamma_to_hundredths(gamma)) / 100.0f, gamma);
  EXPECT_EQ(gamma_to_hundredths(25.0f), 999);
}

TEST(PreferenceRulesTest, ColoursReadWriteAndName) {
  lang_load();
  EXPECT_EQ(colour_from_text(QStringLiteral("ff8000")), QColor(255, 128, 0));
  EXPECT_EQ(colour_from_text(QStringLiteral("12AB3")), QColor(Qt::black));
  EXPECT_EQ(colour_from_text(QStringLiteral("12AB345")), QColor(Qt::black));
  EXPECT_EQ(colour_text_form(QColor(10, 11, 255)), QStringLiteral("0A0BFF"));
  EXPECT_EQ(colour_text_form(colour_from_text(QStringLiteral("c0c0c0"))), QStringLiteral("C0C0C0"));
  EXPECT_EQ(colour_name(QColor(0xFF, 0x80, 0x00)), QStringLiteral("Orange"));
  EXPECT_EQ(colour_name(QColor(0xC0, 0xC0, 0xC0)), QStringLiteral("Silver"));
  EXPECT_EQ(colour_name(QColor(0x12, 0xAB, 0x34)), QStringLiteral("Color #12AB34"));
}

TEST(PreferenceRulesTest, OfferedFontsAndColoursGrowOnlyByNewEntries) {
  EXPECT_EQ(list_fields(QStringLiteral(" a , b,")), (QStringList{"a", "b", ""}));
  EXPECT_EQ(list_fields(QString()), QStringList{QString()});

  const QString fonts = QStringLiteral("Arial, Tahoma");
  EXPECT_EQ(fonts_with(fonts, QStringLiteral("Arial"), QStringLiteral("Tahoma")), fonts);
  EXPECT_EQ(fonts_with(fonts, QStringLiteral("Arial"), QStringLiteral("Times, New")),
            QStringLiteral("Arial, Tahoma,Times New"));
  EXPECT_EQ(fonts_with(QString(), QStringLiteral("Arial"), QStringLiteral("Arial")),
            QStringLiteral("Arial"));
  EXPECT_EQ(fonts_with(QString(), QStringLiteral("Arial"), QStringLiteral("Verdana")),
            QStringLiteral("Arial,Verdana"));

  const QString colours = QStringLiteral("000000, ffffff");
  EXPECT_EQ(colours_with(colours, Qt::white), colours);
  EXPECT_EQ(colours_with(colours, QColor(255, 0, 0)), QStringLiteral("000000, ffffff,FF0000"));
  // An empty list is one black entry.
  EXPECT_EQ(colours_with(QString(), Qt::black), QString());
}

TEST(PreferenceRulesTest, StoredTextsAndColourCorrection) {
  EXPECT_EQ(cleaned_text(QStringLiteral(" Hello\r\n World\t ")), QStringLiteral("Hello World"));
  EXPECT_EQ(cleaned_text(QStringLiteral("\t%filename%.%ext%\n")),
            QStringLiteral("%filename%.%ext%"));

  Settings s;
  EXPECT_FALSE(needs_colour_correction(s));
  s.image_gamma = 1.01f;
  EXPECT_TRUE(needs_colour_correction(s));
  for (const auto change :
       {+[](Settings &t) { t.image_brightness = -1; }, +[](Settings &t) { t.image_contrast = 5; },
        +[](Settings &t) { t.image_invert = 1; }}) {
    Settings t;
    change(t);
    EXPECT_TRUE(needs_colour_correction(t));
  }
}

TEST(PreferenceRulesTest, ThemeChangesOutweighIconSizeChanges) {
  Settings before;
  before.ui_theme = QStringLiteral("handdrawn");
  Settings after = before;
  EXPECT_EQ(interface_change(before, after), InterfaceChange::None);
  after.ui_size = 0;
  EXPECT_EQ(interface_change(before, after), InterfaceChange::IconSize);
  after.ui_theme = QStringLiteral("other");
  EXPECT_EQ(interface_change(before, after), InterfaceChange::Theme);
}

TEST(PreferenceRulesTest, ThemeListSkipsUnnamedThemesAndIgnoresCase) {
  const QMap<QString, QString> themes{
      {"Zeta", "Last"}, {"alpha", "First"}, {"beta", ""}, {"Mid", "Middle"}};
  QStringList order;
  for (const ThemeEntry &entry : theme_entries(themes))
    order << entry.name + QLatin1Char('=') + entry.display;
  EXPECT_EQ(order, (QStringList{"alpha=First", "Mid=Middle", "Zeta=Last"}));
}

} // namespace
} // namespace lumbrix
