#pragma once

#include <QString>

namespace lumbrix {

// Builds the process-wide language table from the built-in English texts, then overlays a
// language file when a name is given and the file opens. Without a file, the table is built at
// the first lookup: a run that prints nothing does not build it.
void lang_load(const QString &language_file = QString());

// The text of group/key (both matched without regard to case), or "%NO_STRING_ERROR%".
QString lang(const QString &group, const QString &key);

// The text of key in the messages' group, "Msg".
QString lang_msg(const char *key);

// Replaces "%s1%".."%s4%" (any letter case) by the non-empty arguments, in order.
QString lang_format(const QString &text, const QString &s1 = QString(),
                    const QString &s2 = QString(), const QString &s3 = QString(),
                    const QString &s4 = QString());

} // namespace lumbrix
