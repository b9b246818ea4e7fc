#include "platform/ini_reader.h"

#include <QFile>

#include <optional>

namespace lumbrix {

namespace {

QByteArray without_bom(const QByteArray &content) {
  static const QByteArray bom("\xEF\xBB\xBF");
  return content.startsWith(bom) ? content.mid(bom.size()) : content;
}

// "[name]" -> "name"; nothing for a line that is no header.
std::optional<QString> header_name(const QString &line) {
  const qsizetype close = line.indexOf(u']');
  if (!line.startsWith(u'[') || close < 0)
    return std::nullopt;
  return line.mid(1, close - 1).trimmed();
}

} // namespace

bool IniFile::load(const QString &path) {
  QFile file(path);
  const bool opened = file.open(QIODevice::ReadOnly);
  parse(opened ? file.readAll() : QByteArray());
  return opened;
}

void IniFile::parse(const QByteArray &content) {
  sections_.clear();
  section_index_.clear();
  const QStringList lines = QString::fromUtf8(without_bom(content)).split(u'\n');
  qsizetype current = -1; // no header yet
  for (QString line : lines) {
    if (line.endsWith(u'\r'))
      line.chop(1);
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u';'))
      continue;
    if (const std::optional<QString> name = header_name(trimmed)) {
      current = section_named(*name);
      continue;
    }
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
      continue;
    const QString key = line.left(equals).trimmed();
    if (key.isEmpty())
      continue;
    QString value = line.mid(equals + 1);
    if (value.startsWith(u' '))
      value.remove(0, 1);
    if (current < 0)
      current = section_named(QString());
    Section &section = sections_[current];
    const QString upper = key.toUpper();
    if (section.values.contains(upper))
      continue;
    section.keys.append(key);
    section.values.insert(upper, value);
  }
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
