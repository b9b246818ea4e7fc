#include "cli/keywords.h"

#include <array>
#include <span>

namespace lumbrix {
namespace {

struct Keyword {
  const char *name;
  int value;
};

// Order matters in both directions: the first equal keyword wins, and so does the first
// keyword holding a value (several compression keywords share one).
constexpr Keyword dds_load[] = {{"AUTO", 0}, {"BGRA", 1}, {"RGBA", 2}};
constexpr Keyword raw_load[] = {{"AUTO", 0}, {"8", 1},    {"16", 2},
                                {"24", 3},   {"48HS", 4}, {"48", 5}};
constexpr Keyword frame_loading[] = {
    {"ALL", 0}, {"FIRST", 1}, {"MIDDLE", 2}, {"LAST", 3}, {"RANDOM", 4}};
constexpr Keyword tone_mapping[] = {{"NONE", 0}, {"LINEAR", 1}, {"AL", 2}, {"DRR", 3}, {"GD", 4}};
constexpr Keyword compression[] = {
    {"NONE", 0},      {"RLE", 1},      {"ZIP", 1},     {"PIZ", 2},          {"PXR24", 3},
    {"B44", 4},       {"ZLIB1", 1},    {"ZLIB6", 2},   {"ZLIB9", 3},        {"CCITTFAX3", 1},
    {"CCITTFAX4", 2}, {"PACKBITS", 3}, {"DEFLATE", 4}, {"ADOBEDEFLATE", 5}, {"LZW", 6},
    {"JPEG", 7},      {"LOGLUV", 8}};
constexpr Keyword color_table[] = {{"AUTO", 0}, {"EXACT", 1}};
constexpr Keyword color_model[] = {{"RGB", 0}, {"CMYK", 1}, {"LAB", 2}};
constexpr Keyword chroma[] = {{"NONE", 0}, {"LOW", 1}, {"MEDIUM", 2}, {"HIGH", 3}};
constexpr Keyword jpeg_save[] = {
    {"STANDARD", 0}, {"SIMPLE", 1}, {"OPTIMIZED", 2}, {"PROGRESSIVE", 3}};
constexpr Keyword rotation_type[] = {{"SIMPLE", 0}, {"ADVANCED", 1}};
constexpr Keyword size_unit[] = {{"PIXELS", 0}, {"PERCENT", 1}};
constexpr Keyword resize_type[] = {{"ALLIMAGES", 0}, {"LARGEIMAGES", 1}};
constexpr Keyword resize_algorithm[] = {{"BOX", 0},     {"BILINEAR", 1},   {"BSPLINE", 2},
                                        {"BICUBIC", 3}, {"CATMULLROM", 4}, {"LANCZOS", 5}};
constexpr Keyword frame_kind[] = {{"NONE", 0}, {"SOLID", 1}};
constexpr Keyword watermark_kind[] = {{"NONE", 0}, {"TEXT", 1}, {"IMAGE", 2}};
constexpr Keyword font_style[] = {{"REGULAR", 0}, {"BOLD", 1}, {"ITALIC", 2}, {"BOLDITALIC", 3}};
// The spelling with the final T is what profiles and the debug echo have always used.
constexpr Keyword font_effect[] = {{"NONE", 0}, {"UNDERLINE", 1}, {"STRIKETHROUGHT", 2}};
constexpr Keyword alignment[] = {{"LEFT", 0}, {"CENTER", 1}, {"RIGHT", 2}};
constexpr Keyword boundary[] = {{"IMAGE", 0}, {"FRAME", 1}};
constexpr Keyword position[] = {{"TOPLEFT", 0},    {"TOPCENTER", 1},    {"TOPRIGHT", 2},
                                {"MIDDLELEFT", 3}, {"MIDDLECENTER", 4}, {"MIDDLERIGHT", 5},
                                {"BOTTOMLEFT", 6}, {"BOTTOMCENTER", 7}, {"BOTTOMRIGHT", 8}};
constexpr Keyword size[] = {{"FIXED", 0}};
constexpr Keyword timestamp[] = {{"CURRENT", 0}, {"ORIGINAL", 1}, {"CUSTOM", 2}};

// Indexed by KeywordTable.
constexpr std::array<std::span<const Keyword>, 22> tables = {
    dds_load,         raw_load,   frame_loading,  tone_mapping,  compression, color_table,
    color_model,      chroma,     jpeg_save,      rotation_type, size_unit,   resize_type,
    resize_algorithm, frame_kind, watermark_kind, font_style,    font_effect, alignment,
    boundary,         position,   size,           timestamp};

std::span<const Keyword> table_at(int table) {
  if (table < 0 || table >= static_cast<int>(tables.size()))
    return {};
  return tables[static_cast<std::size_t>(table)];
}

} // namespace

int keyword_value(int table, const QString &text) {
  // Frame and watermark kinds are only ever printed; no option sets them by keyword.
  if (table == kw_frame_kind || table == kw_watermark_kind)
    return 0;
  const QString upper = text.toUpper();
  for (const Keyword &keyword : table_at(table)) {
    if (upper == QLatin1String(keyword.name))
      return keyword.value;
  }
  return 0;
}

QString keyword_name(int table, int value) {
  for (const Keyword &keyword : table_at(table)) {
    if (keyword.value == value)
      return QLatin1String(keyword.name);
  }
  return {};
}

} // namespace lumbrix
