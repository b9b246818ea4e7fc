#include "prefs/themes.h"

#include "platform/program_path.h"
#include "prefs/window_settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <memory>

namespace lumbrix {
namespace {

const QString config_entry = QStringLiteral("theme.cfg");

// Themes hold small icons; bigger entries are not read, and a whole archive never costs more.
constexpr qint64 entry_limit = 4 * 1024 * 1024;
constexpr qint64 archive_limit = 64 * 1024 * 1024;
constexpr qint64 display_name_limit = 255;

using Entries = QHash<QString, QByteArray>;

QMap<QString, QString> &themes() {
  static QMap<QString, QString> table;
  return table;
}

struct ArchiveDeleter {
  void operator()(archive *a) const { archive_read_free(a); }
};
using Archive = std::unique_ptr<archive, ArchiveDeleter>;

QString entry_name(archive_entry *entry) {
  if (const char *utf8 = archive_entry_pathname_utf8(entry))
    return QString::fromUtf8(utf8);
  const char *name = archive_entry_pathname(entry);
  return name ? QString::fromLocal8Bit(name) : QString();
}

QByteArray read_data(archive *a, qint64 size) {
  QByteArray data(size, Qt::Uninitialized);
  qint64 done = 0;
  while (done < size) {
    const la_ssize_t got = archive_read_data(a, data.data() + done, size_t(size - done));
    if (got <= 0)
      break;
    done += got;
  }
  return done == size ? data : QByteArray();
}

// Reads the entries of a zip archive whose listed size is above zero: every such entry, or only
// `only` cut to `limit` bytes. False when the file is empty or not a readable archive.
bool read_zip(const QString &path, Entries &entries, const QString &only = QString(),
              qint64 limit = entry_limit) {
  const QFileInfo info(path);
  if (!info.isFile() || info.size() <= 0)
    return false;
  Archive a(archive_read_new());
  archive_read_support_format_zip_seekable(a.get());
  if (archive_read_open_filename(a.get(), QFile::encodeName(path).constData(), 16384) != ARCHIVE_OK)
    return false;
  qint64 budget = archive_limit;
  archive_entry *entry = nullptr;
  for (int status = archive_read_next_header(a.get(), &entry);
       status == ARCHIVE_OK || status == ARCHIVE_WARN;
       status = archive_read_next_header(a.get(), &entry)) {
    const QString name = entry_name(entry);
    const qint64 size = archive_entry_size_is_set(entry) ? archive_entry_size(entry) : 0;
    if (size <= 0 || (!only.isEmpty() && name != only) || entries.contains(name))
      continue;
    if (!only.isEmpty() || size <= std::min(limit, budget)) {
      const QByteArray data = read_data(a.get(), std::min(size, limit));
      if (!data.isEmpty())
        entries.insert(name, data);
      budget -= data.size();
    }
  }
  return true;
}

// The archive of UI Theme; when it is gone, the last installed theme whose archive is present,
// which UI Theme then names.
QString theme_archive() {
  Settings &s = settings();
  const QString path = theme_folder() + s.ui_theme + QLatin1String(".zip");
  if (QFileInfo::exists(path))
    return path;
  const QMap<QString, QString> &table = theme_table();
  for (auto it = table.keyEnd(); it != table.keyBegin();) {
    --it;
    const QString other = theme_folder() + *it + QLatin1String(".zip");
    if (QFileInfo::exists(other)) {
      s.ui_theme = *it;
      return other;
    }
  }
  return path;
}

int load_table(ImageTable table, const QString &config, const Entries &entries) {
  const QString size = QString::number(table_image_size(table));
  const QString section = theme_section(table);
  int loaded = 0;
  for (const NamedImage &named : image_names(table)) {
    QString file = ini_text_value(config, section, QLatin1String(named.name));
    if (!file.toLower().contains(QLatin1String(".png")))
      file += QLatin1Char('_') + size + QLatin1String(".png");
    const auto entry = entries.constFind(file);
    QImage picture;
    if (entry == entries.constEnd() || !picture.loadFromData(*entry, "PNG"))
      continue;
    set_image(named.number, picture.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    ++loaded;
  }
  return loaded;
}

// Trims the characters of `set` from both ends of text.
QStringView trim_any(QStringView text, QStringView set) {
  while (!text.isEmpty() && set.contains(text.front()))
    text = text.mid(1);
  while (!text.isEmpty() && set.contains(text.back()))
    text.chop(1);
  return text;
}

QString &theme_folder_override() {
  static QString folder;
  return folder;
}

} // namespace

QString theme_folder() {
  const QString &chosen = theme_folder_override();
  return chosen.isEmpty() ? program_folder() + QLatin1String("gfx/") : chosen;
}

void set_theme_folder(const QString &folder) { theme_folder_override() = folder; }

const QMap<QString, QString> &theme_table() { return themes(); }

void scan_themes() {
  QMap<QString, QString> &table = themes();
  table.clear();
  const QDir folder(theme_folder());
  const QStringList files =
      folder.entryList({QStringLiteral("*.zip")}, QDir::Files | QDir::CaseSensitive, QDir::Name);
  for (const QString &file : files) {
    const QString theme = file.chopped(4);
    table.insert(theme, theme_display_name(theme));
  }
}

QString theme_display_name(const QString &theme) {
  Entries entries;
  if (!read_zip(theme_folder() + theme + QLatin1String(".zip"), entries, config_entry,
                display_name_limit))
    return QString();
  const QString config = QString::fromUtf8(entries.value(config_entry));
  return ini_text_value(config, QStringLiteral("Theme"), QStringLiteral("Name"));
}

int load_theme_images(std::initializer_list<ImageTable> tables) {
  Entries entries;
  if (!read_zip(theme_archive(), entries) || !entries.contains(config_entry))
    return 0;
  const QString config = QString::fromUtf8(entries.value(config_entry));
  int loaded = 0;
  for (ImageTable table : tables)
    loaded += load_table(table, config, entries);
  return loaded;
}

QString ini_text_value(const QString &text, const QString &section, const QString &key) {
  const QString line_break = QStringLiteral("\r\n");
  const qsizetype start =
      text.indexOf(QLatin1Char('[') + section + QLatin1Char(']'), 0, Qt::CaseInsensitive);
  if (start < 0)
    return QString();
  qsizetype end = text.indexOf(QLatin1Char('['), start + 1);
  if (end < 0)
    end = text.size();
  const qsizetype found = text.indexOf(line_break + key, start, Qt::CaseInsensitive);
  if (found <= start || found >= end)
    return QString();
  const qsizetype line_start = found + line_break.size();
  const qsizetype line_end = text.indexOf(line_break, line_start);
  if (line_end < 0)
    return QString();
  const QStringView line = QStringView(text).mid(line_start, line_end - line_start);
  const qsizetype equals = line.indexOf(QLatin1Char('='));
  if (equals < 0)
    return QString();
  QStringView value = line.mid(equals + 1);
  const qsizetype second = value.indexOf(QLatin1Char('='));
  if (second >= 0)
    value.truncate(second);
  value = trim_any(value, u" ");
  return trim_any(value, u"\t\r\n").toString();
}

} // namespace lumbrix
