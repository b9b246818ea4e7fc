#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace lumbrix {

// A settings file, profile or language file holds a few kilobytes; anything past these bounds
// is damaged or hostile and is refused before it can cost memory.
inline constexpr qint64 ini_max_file_size = 2 * 1024 * 1024;
inline constexpr qsizetype ini_max_line_length = 256 * 1024;

// A settings-style file read line by line: "[Section]" headers, "key = value" lines and ";"
// comment lines, UTF-8 with or without a byte-order mark, lines ending with LF or CR LF. Section
// and key names match without regard to case; names are trimmed, values are not (only the one
// blank after "=" that "key = value" puts there is dropped). Lines before the first header
// belong to the section named "". A section named twice is one section; of a key given twice
// in a section, the first value counts.
class IniFile {
public:
  // False when the file cannot be opened or read, or is larger than ini_max_file_size or has a
  // line longer than ini_max_line_length; the contents are then empty and error() says why.
  bool load(const QString &path);
  // The whole text at once, without the bounds.
  void parse(const QByteArray &content);
  // Why the last load failed, naming the file; empty after a successful one.
  const QString &error() const { return error_; }

  bool has_section(const QString &section) const;
  // The section's keys in file order, spelled as the file spells them.
  QStringList keys(const QString &section) const;
  bool contains(const QString &section, const QString &key) const;
  QString value(const QString &section, const QString &key,
                const QString &fallback = QString()) const;

private:
  struct Section {
    QStringList keys;               // file order, as written
    QHash<QString, QString> values; // by upper-cased key
  };
  void clear();
  bool read_lines(std::FILE *file, const QString &path);
  void add_line(QByteArrayView raw);
  qsizetype section_named(const QString &name); // position, added when new
  const Section *find_section(const QString &name) const;

  QList<Section> sections_;
  QHash<QString, qsizetype> section_index_; // upper-cased name -> position in sections_
  qsizetype current_ = -1;                  // section of the lines read; none before a header
  qint64 lines_read_ = 0;
  QString error_;
};

} // namespace lumbrix
