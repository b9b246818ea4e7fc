#include "text/lang.h"

#include "platform/ini_reader.h"
#include "text/lang_data.h"

#include <QStringList>

#include <algorithm>
#include <array>
#include <mutex>
#include <vector>

namespace lumbrix {

namespace {

const QString no_string = QStringLiteral("%NO_STRING_ERROR%");

// Joins key and text while a group is sorted; it sorts below every printable character, so a
// key that is a prefix of another ("BOLD", "BOLD ITALIC") sorts first.
constexpr QChar separator(1);

// Keys are indexed by their first character; keys whose first character lies beyond the index
// can never be found.
constexpr int index_slots = 256;

struct LangGroup {
  QString name;                                    // upper-cased
  qsizetype first = 1;                             // first entry
  qsizetype last = 0;                              // last entry; first - 1 when the group is empty
  std::array<quint32, index_slots> first_letter{}; // first entry of each initial, or 0
};

struct LangTable {
  std::vector<LangGroup> groups = std::vector<LangGroup>(1); // record 0 stands for no group
  QStringList keys{QString()};                               // upper-cased, 1-based
  QStringList texts{QString()};                              // 1-based
  std::size_t cached_group = 0;                              // the group of the previous lookup
};

LangTable &table() {
  static LangTable instance;
  return instance;
}

// The built-in texts waiting to be made into the table at the first lookup: a run that prints
// nothing never pays for sorting them.
const LangPair *pending_data = nullptr;
std::mutex pending_mutex;

QString upper_key(const LangPair &pair) { return QString::fromUtf16(pair.key).toUpper(); }

bool is_group(const QString &key) { return key == u"_GROUP_"; }
bool is_end(const QString &key) { return key == u"_END_"; }

// The character code that selects a key's index slot; an empty key counts as code 0.
int first_code(const QString &key) { return key.isEmpty() ? 0 : key.front().unicode(); }

LangTable fill_table(const LangPair *data) {
  LangTable t;
  qsizetype entries = 0;
  for (const LangPair *pair = data; !is_end(upper_key(*pair)); ++pair)
    entries += is_group(upper_key(*pair)) ? 0 : 1;
  t.keys.reserve(entries + 1);
  t.texts.reserve(entries + 1);

  for (const LangPair *pair = data;; ++pair) {
    const QString key = upper_key(*pair);
    if (is_end(key))
      break;
    const QString text = QString::fromUtf16(pair->text);
    if (is_group(key)) {
      t.groups.back().last = t.keys.size() - 1;
      LangGroup &group = t.groups.emplace_back();
      group.name = text.toUpper();
      group.first = t.keys.size();
    } else {
      t.keys.append(key + separator + text);
      t.texts.append(QString());
    }
  }
  t.groups.back().last = t.keys.size() - 1;
  return t;
}

// Sorts each group's entries, splits them back into key and text and builds the index.
void sort_and_index(LangTable &t) {
  for (std::size_t g = 1; g < t.groups.size(); ++g) {
    LangGroup &group = t.groups[g];
    if (group.last < group.first)
      continue;
    std::sort(t.keys.begin() + group.first, t.keys.begin() + group.last + 1);
    int previous = -1;
    for (qsizetype j = group.first; j <= group.last; ++j) {
      const qsizetype split = t.keys[j].indexOf(separator);
      t.texts[j] = t.keys[j].mid(split + 1);
      t.keys[j].truncate(split);
      const int code = first_code(t.keys[j]);
      if (code == previous)
        continue;
      previous = code;
      if (code < index_slots)
        group.first_letter[code] = quint32(j);
    }
  }
}

void overlay_language_file(LangTable &t, const QString &language_file) {
  IniFile file;
  if (language_file.isEmpty() || !file.load(language_file))
    return;
  for (std::size_t g = 1; g < t.groups.size(); ++g) {
    const LangGroup &group = t.groups[g];
    for (qsizetype j = group.first; j <= group.last; ++j)
      t.texts[j] = file.value(group.name, t.keys[j], t.texts[j]);
  }
}

std::size_t find_group(const LangTable &t, const QString &name) {
  for (std::size_t g = 1; g < t.groups.size(); ++g) {
    if (t.groups[g].name == name)
      return g;
  }
  return 0;
}

void build_table(const LangPair *data, const QString &language_file) {
  LangTable t = fill_table(data);
  sort_and_index(t);
  overlay_language_file(t, language_file);
  table() = std::move(t);
}

LangTable &loaded_table() {
  const std::lock_guard lock(pending_mutex);
  if (pending_data) {
    build_table(pending_data, QString());
    pending_data = nullptr;
  }
  return table();
}

} // namespace

// A language file is read at once, while it is there to be read.
void lang_load_data(const LangPair *data, const QString &language_file) {
  const std::lock_guard lock(pending_mutex);
  pending_data = language_file.isEmpty() ? data : nullptr;
  if (!pending_data)
    build_table(data, language_file);
}

void lang_load(const QString &language_file) {
  lang_load_data(built_in_lang_data(), language_file);
}

QString lang(const QString &group, const QString &key) {
  LangTable &t = loaded_table();
  const QString group_name = group.toUpper();
  if (t.groups[t.cached_group].name != group_name)
    t.cached_group = find_group(t, group_name);
  if (t.cached_group == 0)
    return no_string;

  const LangGroup &found = t.groups[t.cached_group];
  const QString wanted = key.toUpper();
  const int code = first_code(wanted);
  if (code >= index_slots)
    return no_string;
  for (qsizetype j = found.first_letter[code]; j != 0 && j <= found.last; ++j) {
    const int order = QString::compare(wanted, t.keys[j]);
    if (order == 0)
      return t.texts[j];
    if (order < 0)
      break;
  }
  return no_string;
}

QString lang_format(const QString &text, const QString &s1, const QString &s2, const QString &s3,
                    const QString &s4) {
  if (text.isEmpty())
    return text;
  static const std::array<QString, 4> placeholders = {
      QStringLiteral("%s1%"), QStringLiteral("%s2%"), QStringLiteral("%s3%"),
      QStringLiteral("%s4%")};
  const std::array<const QString *, 4> values = {&s1, &s2, &s3, &s4};
  QString result = text;
  for (std::size_t i = 0; i < placeholders.size(); ++i) {
    if (!values[i]->isEmpty())
      result.replace(placeholders[i], *values[i], Qt::CaseInsensitive);
  }
  return result;
}

QString lang_msg(const char *key) { return lang(QStringLiteral("Msg"), QString::fromLatin1(key)); }

} // namespace lumbrix
