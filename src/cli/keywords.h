#pragma once

#include "engine/settings/settings.h"

#include <QString>

namespace lumbrix {

// Numbers of the keyword tables that enumerated options are written with.
enum KeywordTable : int {
  kw_dds_load = 0,
  kw_raw_load = 1,
  kw_frame_loading = 2,
  kw_tone_mapping = 3,
  kw_compression = 4,
  kw_color_table = 5,
  kw_color_model = 6,
  kw_chroma = 7,
  kw_jpeg_save = 8,
  kw_rotation_type = 9,
  kw_size_unit = 10,
  kw_resize_type = 11,
  kw_resize_algorithm = 12,
  kw_frame_kind = 13,
  kw_watermark_kind = 14,
  kw_font_style = 15,
  kw_font_effect = 16,
  kw_alignment = 17,
  kw_boundary = 18,
  kw_position = 19,
  kw_size = 20,
  kw_timestamp = 21,
};

// Value of the first keyword of the table equal to text (upper-cased); 0 when none matches,
// for the print-only tables 13 and 14, and for unknown tables.
int keyword_value(int table, const QString &text);

// First keyword of the table with that value; empty when none, or for an unknown table.
QString keyword_name(int table, int value);

// Save flags of the writer for an output extension, from the settings.
int save_flags(const Settings &s, const QString &extension);

} // namespace lumbrix
