#include "cli/console_echo.h"

#include "cli/keywords.h"
#include "cli/setting_options.h"
#include "engine/settings/settings_keys.h"
#include "platform/console.h"

namespace lumbrix {
namespace {

// The per-format keys of one format and section, labelled as the echo names them.
void echo_format_keys(const ConsoleEcho &echo, const Settings &s, const char *section,
                      const QString &format) {
  for (const SettingKey &k : setting_keys()) {
    if (!k.format || qstrcmp(k.section, section) != 0 || format != QLatin1String(k.format))
      continue;
    const QString key = QString::fromLatin1(k.key);
    const char *label = key == QLatin1String("JPG Chroma") ? "JPG Chroma Subsampling" : k.key;
    const int table = per_format_keyword_table(key);
    if (table >= 0)
      echo.keyword(label, table, key_int(s, k));
    else
      echo.number(label, key_int(s, k));
  }
}

} // namespace

void ConsoleEcho::text(const char *label, const QString &value) const {
  if (on_)
    console_line(QString::fromLatin1(label) + QStringLiteral(": ") + value);
}

void ConsoleEcho::number(const char *label, int value) const {
  text(label, QString::number(value));
}

void ConsoleEcho::keyword(const char *label, int table, int value) const {
  text(label, keyword_name(table, value));
}

void ConsoleEcho::gamma(const char *label, float value) const {
  text(label, QString::number(static_cast<double>(value), 'f', 2));
}

void ConsoleEcho::input_format(const Settings &s, const QString &format) const {
  echo_format_keys(*this, s, "Input", format);
}

void ConsoleEcho::output_format(const Settings &s, const QString &format) const {
  echo_format_keys(*this, s, "Output", format);
}

} // namespace lumbrix
