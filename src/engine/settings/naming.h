#pragma once

#include "engine/settings/settings.h"

#include <QDateTime>
#include <QString>

namespace lumbrix {

// What the naming tokens ("%filename%", "%n%", ...) stand for while one file is named.
struct TokenValues {
  QString input_path;
  QString extension;
  int bpp = 0;
  int width = 0;
  int height = 0;
  int random = 0;
  int sequence = 0;
  QDateTime now; // local clock
};

// "%rnd%" and "%n%" of the next file to be named. Both move on only after a converted file, and
// the window front carries them from run to run until File/New.
struct NameCounters {
  int random = 1;
  int sequence = 1;
};

// A new random value 1..99999 for the %rnd% token.
int random_number();

// A new random number and sequence 1.
NameCounters fresh_name_counters();

// The counters after a converted file.
NameCounters next_name_counters(const NameCounters &counters);

// text with every occurrence of token (matched without regard to case) replaced by its value;
// an unknown token leaves text as it is.
QString expand_token(const QString &text, const QString &token, const TokenValues &values);

// The mask (Filename Mask), lower-cased, with its tokens expanded in table order; an empty mask
// is "%filename%.%ext%".
QString build_file_name(const QString &mask, const TokenValues &values);

// Why name, an expanded mask, cannot name an output file, or an empty text. An output file is
// one name in its folder: a name that is empty, "." or "..", or holds a separator ("/", or "\"
// as the mask's author may mean one) or a NUL would put the file elsewhere, or nowhere. Keep
// Subfolders' sub-folder stays the only way below the output folder.
QString output_name_problem(const QString &name);

// The folder a file is written to: the output folder, and below it the relative sub-folder when
// Keep Subfolders is set. The file name (build_file_name) follows it.
QString output_folder_of(const QString &folder, const QString &subfolder, const Settings &s);

// A watermark text with its tokens expanded; its own letter case is kept and a text with fewer
// than two "%" is returned as it is. The values' size and depth are those of the image being
// marked.
QString expand_watermark_text(const QString &text, const TokenValues &values);

} // namespace lumbrix
