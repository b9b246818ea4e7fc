#include "ui/mnemonics.h"

#include <QSet>

namespace lumbrix {
namespace {

bool starts_word(QStringView text, qsizetype i) {
  return i == 0 || !text[i - 1].isLetterOrNumber();
}

// The position of the mnemonic in label, or -1: a free letter starting a word, else any.
qsizetype mnemonic_position(QStringView label, const QSet<QChar> &used) {
  for (const bool word_start : {true, false}) {
    for (qsizetype i = 0; i < label.size(); ++i) {
      const QChar c = label[i];
      if (c.isLetterOrNumber() && !used.contains(c.toLower()) &&
          (!word_start || starts_word(label, i)))
        return i;
    }
  }
  return -1;
}

} // namespace

QStringList with_mnemonics(const QStringList &captions) {
  QSet<QChar> used;
  QStringList marked;
  for (const QString &caption : captions) {
    const qsizetype tab = caption.indexOf(QLatin1Char('\t'));
    const QStringView label = QStringView(caption).left(tab < 0 ? caption.size() : tab);
    const qsizetype chosen = mnemonic_position(label, used);
    if (chosen >= 0)
      used.insert(label[chosen].toLower());
    QString text;
    for (qsizetype i = 0; i < label.size(); ++i) {
      if (i == chosen || label[i] == QLatin1Char('&'))
        text += QLatin1Char('&');
      text += label[i];
    }
    marked << text + caption.mid(label.size());
  }
  return marked;
}

} // namespace lumbrix
