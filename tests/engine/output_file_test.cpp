#include "engine/output_file.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

TEST(MakeTempName, IsPrefixTimeLettersRandomLettersSuffix) {
  const qint64 before = QDateTime::currentSecsSinceEpoch();
  const QString name = make_temp_name(QStringLiteral("Lumbrix"), QStringLiteral(".tmp"));
  const qint64 after = QDateTime::currentSecsSinceEpoch();
  ASSERT_TRUE(name.startsWith(QLatin1String("Lumbrix")));
  ASSERT_TRUE(name.endsWith(QLatin1String(".tmp")));
  const QString letters = name.mid(7, name.size() - 11);
  QString digits;
  for (const QChar c : letters) {
    ASSERT_TRUE(c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    digits += QChar(c.unicode() - 'a' + '0');
  }
  const qint64 time = digits.left(digits.size() - 5).toLongLong();
  EXPECT_TRUE(time == before || time == after);
  EXPECT_NE(make_temp_name(QString(), QString()), make_temp_name(QString(), QString()));
}

} // namespace
} // namespace lumbrix
