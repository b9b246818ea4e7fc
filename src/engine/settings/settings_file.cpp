#include "engine/settings/settings_file.h"

#include "engine/settings/product.h"
#include "engine/settings/settings.h"
#include "engine/settings/settings_keys.h"
#include "platform/app_data.h"
#include "platform/files.h"
#include "platform/ini_reader.h"
#include "platform/temp_file.h"

#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>

namespace lumbrix {
namespace {

constexpr int current_version = 17;
constexpr const char *program_short_name = "Lumbrix";
constexpr const char *file_name = "config.ini";
constexpr const char *byte_order_mark = "\xEF\xBB\xBF";

QString maker_folder() { return QString::fromUtf8(product_title).section(QLatin1Char(' '), 0, 0); }

bool is_digit(QChar c) { return c >= u'0' && c <= u'9'; }

QString trim_spaces(const QString &text) {
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first] == u' ')
    ++first;
  while (last > first && text[last - 1] == u' ')
    --last;
  return text.mid(first, last - first);
}

void read_key(Settings &s, const SettingKey &k, const QString &value) {
  switch (k.type) {
  case KeyType::Text:
    set_key_text(s, k, k.trimmed ? trim_spaces(value) : value);
    break;
  case KeyType::Float:
    set_key_float(s, k, leading_float(value));
    break;
  default: // Flag and Byte keep the low 8 bits
    set_key_int(s, k, leading_int(value));
    break;
  }
}

void migrate(Settings &s) {
  // Masks of version 10 and older named the extension implicitly. Tokens match in any case.
  if (s.cfg < 11 && !s.filename_mask.contains(QLatin1String("%ext%"), Qt::CaseInsensitive))
    s.filename_mask += QLatin1String(".%ext%");
  // Version 14 inserted two choices before the old RAW loading modes.
  if (s.cfg < 14 && s.raw_load_as != 0)
    s.raw_load_as += 2;
}

QByteArray float_text(float value) {
  if (std::isnan(value))
    return "NaN";
  if (std::isinf(value))
    return value > 0 ? "+Infinity" : "-Infinity";
  return QByteArray::number(static_cast<double>(value), 'f', 6);
}

// A value cannot span lines: a line break in it would end the value and start a line of its own.
QByteArray single_line(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String(" "));
  text.replace(QLatin1Char('\r'), QLatin1Char(' '));
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return text.toUtf8();
}

QByteArray value_text(const Settings &s, const SettingKey &k) {
  const auto *int_member = std::get_if<int Settings::*>(&k.member);
  if (int_member && *int_member == &Settings::cfg)
    return QByteArray::number(current_version);
  switch (k.type) {
  case KeyType::Text:
    return single_line(key_text(s, k));
  case KeyType::Float:
    return float_text(key_float(s, k));
  default:
    return QByteArray::number(key_int(s, k));
  }
}

// The extensions whose per-format keys this build writes in a section.
const QStringList &build_formats(const char *section) {
  static const QStringList none;
  if (std::strcmp(section, "Input") == 0)
    return input_formats();
  if (std::strcmp(section, "Output") == 0)
    return output_formats();
  return none;
}

// Which keys a file holds: config.ini writes every section, even one left empty; a preset only
// the sections it has keys of.
struct KeyFilter {
  bool (*written)(const Settings &, const SettingKey &);
  bool empty_sections;
};

bool key_written(const Settings &s, const SettingKey &k) {
  return std::strcmp(k.section, "Window") != 0 || s.save_window_position != 0;
}

bool preset_key_written(const Settings &, const SettingKey &k) { return is_preset_key(k); }

void write_line(QByteArray &out, const Settings &s, const SettingKey &k) {
  out += k.key;
  out += " = ";
  out += value_text(s, k);
  out += "\r\n";
}

void write_section(QByteArray &out, const Settings &s, std::span<const SettingKey> keys,
                   KeyFilter filter) {
  const auto written = filter.written;
  if (!filter.empty_sections &&
      std::none_of(keys.begin(), keys.end(), [&](const SettingKey &k) { return written(s, k); }))
    return;
  out += '[';
  out += keys.front().section;
  out += "]\r\n";
  for (const SettingKey &k : keys) {
    if (!k.format && written(s, k))
      write_line(out, s, k);
  }
  for (const QString &extension : build_formats(keys.front().section)) {
    for (const SettingKey &k : keys) {
      if (k.format && extension == QLatin1String(k.format) && written(s, k))
        write_line(out, s, k);
    }
  }
  out += "; \r\n";
}

QByteArray settings_text(const Settings &s, KeyFilter filter) {
  QByteArray out = byte_order_mark;
  out += "\r\n";
  const std::span<const SettingKey> keys = setting_keys();
  auto first = keys.begin();
  while (first != keys.end()) {
    const auto next = std::find_if(first, keys.end(), [&](const SettingKey &k) {
      return std::strcmp(k.section, first->section) != 0;
    });
    write_section(out, s, std::span<const SettingKey>(first, next), filter);
    first = next;
  }
  return out;
}

} // namespace

bool read_settings_file(const QString &path, Settings &s) {
  IniFile file;
  if (path.isEmpty() || !file.load(path))
    return false;
  for (const SettingKey &k : setting_keys()) {
    const QString section = QString::fromUtf8(k.section);
    const QString key = QString::fromUtf8(k.key);
    if (file.contains(section, key))
      read_key(s, k, file.value(section, key));
    else if (k.fallback)
      read_key(s, k, QString::fromUtf8(k.fallback));
  }
  migrate(s);
  return true;
}

static bool write_text_file(const QString &path, const QByteArray &text, QString *reason) {
  if (path.isEmpty()) {
    if (reason)
      *reason = QStringLiteral("No settings file is named");
    return false;
  }
  // A settings file that is a link (kept with the user's other files, say) stays one: its
  // target is what gets replaced.
  QFileInfo target(path);
  for (int depth = 0; depth < 40 && target.isSymLink(); ++depth)
    target.setFile(target.symLinkTarget());
  const auto failed = [reason](int error) {
    if (reason)
      *reason = error_text(error != 0 ? error : EIO);
    return false;
  };
  errno = 0;
  TempFile file =
      TempFile::create(target.path(), target.fileName() + QLatin1Char('.'), QStringLiteral("tmp"));
  if (!file.is_open())
    return failed(errno);
  if (!file.write(text.constData(), text.size()))
    return failed(errno);
  int error = 0;
  return file.commit(target.fileName(), &error) || failed(error);
}

bool write_settings_file(const QString &path, const Settings &s, QString *reason) {
  return write_text_file(path, settings_text(s, {key_written, true}), reason);
}

bool is_preset_key(const SettingKey &k) {
  static constexpr const char *kept_sections[] = {"Input",      "Output", "Transform",
                                                  "Adjustment", "Frame",  "Watermark"};
  for (const char *section : kept_sections) {
    if (std::strcmp(k.section, section) == 0)
      return true;
  }
  // Of the advanced keys, those that name and date the files written; the folder history is
  // the window's own.
  return std::strcmp(k.section, "Advanced") == 0 &&
         std::strncmp(k.key, "Out Folders", std::strlen("Out Folders")) != 0;
}

bool write_preset_file(const QString &path, const Settings &s, QString *reason) {
  return write_text_file(path, settings_text(s, {preset_key_written, false}), reason);
}

void read_preset_keys(const IniFile &file, Settings &s) {
  for (const SettingKey &k : setting_keys()) {
    const QString section = QString::fromUtf8(k.section);
    const QString key = QString::fromUtf8(k.key);
    if (is_preset_key(k) && file.contains(section, key))
      read_key(s, k, file.value(section, key));
  }
}

QString set_aside_settings_file(const QString &path) {
  for (int n = 1; n <= 100; ++n) {
    const QString aside =
        path + QStringLiteral(".unreadable") + (n > 1 ? QStringLiteral("-%1").arg(n) : QString());
    if (!file_exists(aside) && !QFileInfo(aside).isSymLink())
      return rename_file(path, aside) ? aside : QString();
  }
  return QString();
}

QString settings_file_location() {
  return settings_dir(maker_folder(), QString::fromUtf8(program_short_name)) +
         QLatin1String(file_name);
}

QString presets_folder() {
  const QString data = data_dir(maker_folder(), QString::fromUtf8(program_short_name));
  return data.isEmpty() ? data : data + QStringLiteral("presets/");
}

int leading_int(QStringView value) {
  const QStringView v = value.trimmed();
  qsizetype i = 0;
  const bool negative = v.startsWith(u'-');
  if (negative || v.startsWith(u'+'))
    ++i;
  constexpr qint64 limit = qint64(std::numeric_limits<int>::max()) + 1;
  qint64 magnitude = 0;
  for (; i < v.size() && is_digit(v[i]); ++i)
    magnitude = std::min(magnitude * 10 + (v[i].unicode() - u'0'), limit);
  const qint64 result = negative ? -magnitude : magnitude;
  return static_cast<int>(
      std::clamp<qint64>(result, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

double leading_number(QStringView value) {
  const QStringView v = value.trimmed();
  if (v.startsWith(QLatin1String("+Infinity"), Qt::CaseInsensitive) ||
      v.startsWith(QLatin1String("Infinity"), Qt::CaseInsensitive))
    return std::numeric_limits<double>::infinity();
  if (v.startsWith(QLatin1String("-Infinity"), Qt::CaseInsensitive))
    return -std::numeric_limits<double>::infinity();
  if (v.startsWith(QLatin1String("NaN"), Qt::CaseInsensitive))
    return std::numeric_limits<double>::quiet_NaN();
  qsizetype i = (v.startsWith(u'-') || v.startsWith(u'+')) ? 1 : 0;
  qsizetype digits = 0;
  for (; i < v.size() && is_digit(v[i]); ++i)
    ++digits;
  if (i < v.size() && v[i] == u'.') {
    for (++i; i < v.size() && is_digit(v[i]); ++i)
      ++digits;
  }
  if (digits == 0)
    return 0.0;
  qsizetype end = i;
  if (i < v.size() && (v[i] == u'e' || v[i] == u'E')) {
    qsizetype j = i + 1;
    if (j < v.size() && (v[j] == u'-' || v[j] == u'+'))
      ++j;
    if (j < v.size() && is_digit(v[j])) {
      while (j < v.size() && is_digit(v[j]))
        ++j;
      end = j;
    }
  }
  return v.left(end).toString().toDouble();
}

float leading_float(QStringView value) {
  const double number = leading_number(value);
  constexpr double largest = std::numeric_limits<float>::max();
  // Narrowing a double beyond the float range is undefined; clamp it to the infinities first.
  if (number > largest)
    return std::numeric_limits<float>::infinity();
  if (number < -largest)
    return -std::numeric_limits<float>::infinity();
  return static_cast<float>(number);
}

} // namespace lumbrix
