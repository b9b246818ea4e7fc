#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace lumbrix {

// A settings-style file read whole: "[Section]" headers, "key = value" lines and ";" comment
// lines, UTF-8 with or without a byte-order mark, lines ending with LF or CR LF. Section and
// key names match without regard to case; names are trimmed, values are not (only the one blank
// after "=" that "key = value" puts there is dropped). Lines before the first header belong to
// the section named "". A section named twice is one section; of a key given twice in a
// section, the first value counts.
class IniFile {
public:
  // False when the file cannot be opened; the contents are then empty.
  bool load(const QString &path);
  void parse(const QByteArray &content);

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
  qsizetype section_named(const QString &name); // position, added when new
  const Section *find_section(const QString &name) const;

  QList<Section> sections_;
  QHash<QString, qsizetype> section_index_; // upper-cased name -> position in sections_
};

} // namespace lumbrix
