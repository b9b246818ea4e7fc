#pragma once

#include <QString>

namespace lumbrix {

// One pair of the built-in language data. A key "_GROUP_" opens the group named by the text,
// "_END_" ends the data; any other pair is an entry of the group opened last.
struct LangPair {
  const char16_t *key;
  const char16_t *text;
};

// The built-in English texts, ending with an "_END_" pair.
const LangPair *built_in_lang_data();

// Builds the language table from data (which must end with "_END_"), then overlays the
// language file when a name is given and the file opens. Without a file the table is built at
// the first lookup, so data must live until then. lang_load passes the built-in data.
void lang_load_data(const LangPair *data, const QString &language_file);

} // namespace lumbrix
