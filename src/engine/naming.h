#pragma once

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

// The run state's values and the local clock, now.
TokenValues current_token_values();

// The file part of path with its last extension removed; "/" and "\" both separate folders.
QString base_name(const QString &path);

// text with every occurrence of token (matched without regard to case) replaced by its value;
// an unknown token leaves text as it is.
QString expand_token(const QString &text, const QString &token);
QString expand_token(const QString &text, const QString &token, const TokenValues &values);

// The Filename Mask, lower-cased, with its tokens expanded in table order.
QString build_file_name();

// Output folder, the relative sub-folder when Keep Subfolders is set, and build_file_name().
QString build_output_path();

// A watermark text with its tokens expanded; its own letter case is kept and a text with fewer
// than two "%" is returned as it is. The size and depth are those of the image being marked.
QString expand_watermark_text(const QString &text, int width, int height, int bpp);

} // namespace lumbrix
