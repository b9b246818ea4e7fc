#pragma once

#include <QStringList>

namespace lumbrix {

// The captions of one menu (or of the menu bar) with an "&" before a letter of each, no letter
// used twice, so that Alt and that letter reach the entry whatever language the texts are in.
// The first letter of a word is preferred, then any letter or digit; a caption left without a
// free one gets none. An "&" of the text itself is doubled, and a shortcut after a tab is kept
// as it is.
QStringList with_mnemonics(const QStringList &captions);

} // namespace lumbrix
