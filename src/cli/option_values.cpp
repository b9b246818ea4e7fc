#include "cli/option_values.h"

#include "engine/settings/settings_file.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lumbrix {
namespace {

int digit_value(QChar c) {
  const char16_t u = c.unicode();
  if (u >= '0' && u <= '9')
    return u - '0';
  if (u >= 'a' && u <= 'f')
    return u - 'a' + 10;
  if (u >= 'A' && u <= 'F')
    return u - 'A' + 10;
  return 99;
}

} // namespace

QString option_name(const QString &parameter) {
  const QString text = parameter.trimmed();
  if (text.startsWith(QLatin1String("--")))
    return text.section(QLatin1Char('='), 0, 0).toUpper();
  if (text.startsWith(QLatin1Char('-')))
    return text.toUpper();
  return QString();
}

QString option_value(const QString &parameter) {
  const QString text = parameter.trimmed();
  if (text.startsWith(QLatin1String("--"))) {
    const auto equals = text.indexOf(QLatin1Char('='), 2);
    if (equals >= 0)
      return text.mid(equals + 1);
  }
  return text;
}

int parse_number(const QString &text) {
  qsizetype i = 0;
  while (i < text.size() && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
    negative = text[i++] == QLatin1Char('-');
  int base = 10;
  if (i < text.size() && text[i] == QLatin1Char('$')) {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == QLatin1Char('%')) {
    base = 2;
    ++i;
  }
  // A value past the 32-bit range stays at its end instead of wrapping into another value.
  constexpr std::int64_t limit = std::int64_t{1} << 31;
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = digit_value(text[i]);
    if (digit >= base)
      break;
    magnitude = std::min(magnitude * base + digit, limit);
  }
  return static_cast<int>(std::clamp<std::int64_t>(negative ? -magnitude : magnitude,
                                                   std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

float parse_float(const QString &text) {
  const QString t = text.trimmed();
  if (t.compare(QLatin1String("+Infinity"), Qt::CaseInsensitive) == 0)
    return std::numeric_limits<float>::infinity();
  if (t.compare(QLatin1String("-Infinity"), Qt::CaseInsensitive) == 0)
    return -std::numeric_limits<float>::infinity();
  if (t.compare(QLatin1String("NaN"), Qt::CaseInsensitive) == 0)
    return std::numeric_limits<float>::quiet_NaN();
  return leading_float(t);
}

QString strip_quotes(const QString &text) {
  qsizetype start = 0;
  qsizetype end = text.size();
  while (start < end && text[start] == QLatin1Char('"'))
    ++start;
  while (end > start && text[end - 1] == QLatin1Char('"'))
    --end;
  return text.mid(start, end - start);
}

} // namespace lumbrix
