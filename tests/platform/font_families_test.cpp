#include "platform/font_families.h"
#include "platform/gui_app.h"

#include <QFontDatabase>
#include <QStringList>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// Only the built-in default gives way, and only when the system lacks it.
TEST(FontFamilies, TheMissingDefaultBecomesTheSystemsSansSerif) {
  ASSERT_TRUE(ensure_gui_application());
  const QString missing = QStringLiteral("No Such Family 7f3a");
  const QString installed = QFontDatabase::families().value(0);
  const QString sans = sans_serif_family();
  ASSERT_TRUE(font_installed(installed) && font_installed(sans));
  ASSERT_FALSE(font_installed(missing));
  const struct {
    QString stored;
    QString built_in;
    QString settled;
  } cases[] = {
      {missing, missing, sans},
      {missing.toUpper(), missing, sans},
      {installed, installed, installed},
      {installed, missing, installed},
      {QStringLiteral("Another Missing"), missing, QStringLiteral("Another Missing")},
  };
  for (const auto &c : cases)
    EXPECT_EQ(settled_font(c.stored, c.built_in).toStdString(), c.settled.toStdString());
}

} // namespace
} // namespace lumbrix
