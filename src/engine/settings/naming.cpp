#include "engine/settings/naming.h"

#include "platform/paths.h"

#include <algorithm>
#include <array>
#include <random>

namespace lumbrix {
namespace {

// Tried in this order, so a value holding a later token's text is expanded again.
constexpr std::array<const char *, 18> tokens = {
    "%filename%", "%filename[u]%", "%filename[l]%", "%filename[t]%", "%ext%", "%ext[u]%",
    "%ext[t]%",   "%yyyy%",        "%mm%",          "%dd%",          "%hh%",  "%ii%",
    "%ss%",       "%bpp%",         "%width%",       "%height%",      "%rnd%", "%n%"};

QString title_case(const QString &text) {
  if (text.isEmpty())
    return text;
  const int first = text.at(0).isHighSurrogate() && text.size() > 1 ? 2 : 1;
  return text.left(first).toUpper() + text.mid(first).toLower();
}

QString two_digits(int value) { return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0')); }

QString five_characters(int value) {
  const QString digits = QString::number(value);
  return digits.size() < 5 ? digits.rightJustified(5, QLatin1Char('0')) : digits.left(5);
}

QString token_value(std::size_t index, const TokenValues &v) {
  const QDate date = v.now.date();
  const QTime time = v.now.time();
  switch (index) {
  case 0:
    return base_name(v.input_path);
  case 1:
    return base_name(v.input_path).toUpper();
  case 2:
    return base_name(v.input_path).toLower();
  case 3:
    return title_case(base_name(v.input_path));
  case 4:
    return v.extension;
  case 5:
    return v.extension.toUpper();
  case 6:
    return title_case(v.extension);
  case 7:
    return QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
  case 8:
    return two_digits(date.month());
  case 9:
    return two_digits(date.day());
  case 10:
    return two_digits(time.hour());
  case 11:
    return two_digits(time.minute());
  case 12:
    return two_digits(time.second());
  case 13:
    return QString::number(v.bpp);
  case 14:
    return QString::number(v.width);
  case 15:
    return QString::number(v.height);
  case 16:
    return five_characters(v.random);
  default:
    return five_characters(v.sequence);
  }
}

bool holds(const QString &text, const char *token) {
  return text.contains(QLatin1String(token), Qt::CaseInsensitive);
}

} // namespace

int random_number() {
  thread_local std::mt19937 engine{std::random_device{}()};
  return std::uniform_int_distribution<int>(1, 99999)(engine);
}

NameCounters fresh_name_counters() { return {random_number(), 1}; }

NameCounters next_name_counters(const NameCounters &counters) {
  return {random_number(), counters.sequence + 1};
}

QString expand_token(const QString &text, const QString &token, const TokenValues &values) {
  for (std::size_t i = 0; i < tokens.size(); ++i)
    if (token.compare(QLatin1String(tokens[i]), Qt::CaseInsensitive) == 0)
      return QString(text).replace(token, token_value(i, values), Qt::CaseInsensitive);
  return text;
}

QString build_file_name(const QString &mask_setting, const TokenValues &values) {
  QString mask = mask_setting.toLower();
  if (mask.isEmpty())
    mask = QStringLiteral("%filename%.%ext%");
  for (const char *token : tokens)
    if (holds(mask, token))
      mask = expand_token(mask, QLatin1String(token), values);
  return mask;
}

QString output_name_problem(const QString &name) {
  const auto refused = [&name](const char *why) {
    return QStringLiteral("the name \"%1\" from the file name mask %2")
        .arg(name, QLatin1String(why));
  };
  if (name.isEmpty())
    return QStringLiteral("the file name mask gives an empty name");
  if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
    return refused("holds a folder separator; it must be a file name alone");
  if (name == QLatin1String(".") || name == QLatin1String(".."))
    return refused("names a folder");
  if (name.contains(QChar(0)))
    return refused("holds a NUL character");
  return QString();
}

QString output_folder_of(const QString &folder, const QString &subfolder, const Settings &s) {
  return folder + (s.keep_subfolders ? subfolder : QString());
}

QString expand_watermark_text(const QString &text, const TokenValues &values) {
  if (text.count(QLatin1Char('%')) < 2)
    return text;
  const QString lower = text.toLower();
  QString result = text;
  for (const char *token : tokens)
    if (lower.contains(QLatin1String(token)))
      result = expand_token(result, QLatin1String(token), values);
  return result;
}

} // namespace lumbrix
