#include "platform/ini_reader.h"

#include "platform/files.h"

#include <QDir>

#include <optional>

namespace lumbrix {

namespace {

constexpr QByteArrayView bom("\xEF\xBB\xBF");

// "[name]" -> "name"; nothing for a line that is no header.
std::optional<QString> header_name(const QString &line) {
  const qsizetype close = line.indexOf(u']');
  if (!line.startsWith(u'[') || close < 0)
    return std::nullopt;
  return line.mid(1, close - 1).trimmed();
}

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

} // namespace

bool IniFile::load(const QString &path) {
  clear();
  error_.clear();
  const ReadFile file = open_regular_file(path);
  if (!file) {
    error_ = QStringLiteral("%1 cannot be opened").arg(shown(path));
    return false;
  }
  if (read_lines(file.get(), path))
    return true;
  clear();
  return false;
}

// Reads in blocks and keeps at most one line in hand, so a file costs what it holds, and a file
// that is too large is refused after its first few megabytes whatever size it claims or grows to.
bool IniFile::read_lines(std::FILE *file, const QString &path) {
  QByteArray line;
  qint64 total = 0;
  char block[64 * 1024];
  std::size_t got = 0;
  while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
    total += static_cast<qint64>(got);
    if (total > ini_max_file_size) {
      error_ = QStringLiteral("%1 is larger than %2 MB")
                   .arg(shown(path))
                   .arg(ini_max_file_size / (1024 * 1024));
      return false;
    }
    QByteArrayView rest(block, static_cast<qsizetype>(got));
    for (qsizetype end = rest.indexOf('\n'); end >= 0; end = rest.indexOf('\n')) {
      line += rest.first(end);
      if (line.size() > ini_max_line_length)
        break;
      add_line(line);
      line.clear();
      rest = rest.sliced(end + 1);
    }
    line += rest;
    if (line.size() > ini_max_line_length) {
      error_ = QStringLiteral("Line %1 of %2 is longer than %3 KB")
                   .arg(lines_read_ + 1)
                   .arg(shown(path))
                   .arg(ini_max_line_length / 1024);
      return false;
    }
  }
  if (std::ferror(file)) {
    error_ = QStringLiteral("%1 cannot be read").arg(shown(path));
    return false;
  }
  add_line(line);
  return true;
}

void IniFile::parse(const QByteArray &content) {
  clear();
  error_.clear();
  QByteArrayView rest(content);
  for (qsizetype end = rest.indexOf('\n'); end >= 0; end = rest.indexOf('\n')) {
    add_line(rest.first(end));
    rest = rest.sliced(end + 1);
  }
  add_line(rest);
}

void IniFile::clear() {
  sections_.clear();
  section_index_.clear();
  current_ = -1;
  lines_read_ = 0;
}

// A line of the file without its LF. An LF never occurs inside a UTF-8 sequence, so lines
// decode on their own exactly as the whole text would.
void IniFile::add_line(QByteArrayView raw) {
  if (lines_read_++ == 0 && raw.startsWith(bom))
    raw = raw.sliced(bom.size());
  if (raw.endsWith('\r'))
    raw.chop(1);
  const QString line = QString::fromUtf8(raw);
  const QString trimmed = line.trimmed();
  if (trimmed.isEmpty() || trimmed.startsWith(u';'))
    return;
  if (const std::optional<QString> name = header_name(trimmed)) {
    current_ = section_named(*name);
    return;
  }
  const qsizetype equals = line.indexOf(u'=');
  if (equals < 0)
    return;
  const QString key = line.left(equals).trimmed();
  if (key.isEmpty())
    return;
  QString value = line.mid(equals + 1);
  if (value.startsWith(u' '))
    value.remove(0, 1);
  if (current_ < 0)
    current_ = section_named(QString());
  Section &section = sections_[current_];
  const QString upper = key.toUpper();
  if (section.values.contains(upper))
    return;
  section.keys.append(key);
  section.values.insert(upper, value);
}

qsizetype IniFile::section_named(const QString &name) {
  const QString upper = name.toUpper();
  const auto found = section_index_.constFind(upper);
  if (found != section_index_.constEnd())
    return *found;
  sections_.emplace_back();
  section_index_.insert(upper, sections_.size() - 1);
  return sections_.size() - 1;
}

const IniFile::Section *IniFile::find_section(const QString &name) const {
  const auto found = section_index_.constFind(name.toUpper());
  return found == section_index_.constEnd() ? nullptr : &sections_[*found];
}

bool IniFile::has_section(const QString &section) const { return find_section(section) != nullptr; }

QStringList IniFile::keys(const QString &section) const {
  const Section *found = find_section(section);
  return found ? found->keys : QStringList();
}

bool IniFile::contains(const QString &section, const QString &key) const {
  const Section *found = find_section(section);
  return found && found->values.contains(key.toUpper());
}

QString IniFile::value(const QString &section, const QString &key, const QString &fallback) const {
  const Section *found = find_section(section);
  return found ? found->values.value(key.toUpper(), fallback) : fallback;
}

} // namespace lumbrix
