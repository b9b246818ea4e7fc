#pragma once

#include <QSize>
#include <QString>

#include <cstdint>

namespace lumbrix {

// A bool or byte field: one byte, as stored in config.ini (a bool is "non-zero", not only 1).
using Flag = std::uint8_t;
using Byte = std::uint8_t;

// Stored as one byte each like the other choices; a value outside the names (a hand-edited file)
// is kept and acts as the stages say.
enum class FrameKind : std::uint8_t { None = 0, Solid = 1 };
enum class WatermarkKind : std::uint8_t { None = 0, Text = 1, Image = 2 };
// The output file's last-write time: when it was written, the input's, or Custom Timestamp.
enum class TimestampKind : std::uint8_t { Current = 0, Original = 1, Custom = 2 };

// Every user-choosable behaviour of the converter plus the window front's interface state.
// Each member is named after its config.ini key; settings_keys.h binds the two.
struct Settings {
  // [General]
  int cfg = 17;
  QString language;
  int update_range = 2;
  int update_date = 0;
  Flag save_window_position = 1;

  // [Window]
  Flag is_maximized = 0;
  int window_width = 510;
  int window_height = 260;
  int window_x = 100;
  int window_y = 100;

  // [Interface]
  QString ui_theme;
  int ui_size = 2;

  // [Input]
  QString input_format;
  int dds_load_as = 0;
  int gif_frame_loading = 0;
  int ico_frame_loading = 0;
  int tiff_frame_loading = 0;
  int raw_load_as = 0;
  int raw_header_size = 0;
  int raw_image_width = 0;
  int raw_image_height = 0;
  int raw_tone_mapping = 2;

  // [Output]
  QString output_format;
  int bmp_bpp = 0;
  int bmp_compression = 0;
  int bmp_color_table = 0;
  int dds_bpp = 0;
  int exr_bpp = 0;
  int exr_compression = 0;
  int gif_bpp = 0;
  int hdr_bpp = 0;
  int ico_bpp = 0;
  int j2k_bpp = 0;
  int jng_bpp = 0;
  int jp2_bpp = 0;
  int jpg_bpp = 0;
  int jpg_quality = 95;
  int jpg_chroma = 0;
  int jpg_save_as = 0;
  int jxr_bpp = 0;
  int pbm_bpp = 0;
  int pcx_bpp = 0;
  int pfm_bpp = 0;
  int pgm_bpp = 0;
  int png_bpp = 0;
  int png_compression = 0;
  Flag png_interlaced = 0;
  int ppm_bpp = 0;
  int psd_bpp = 0;
  int psd_layers = 1;      // 0: the composite alone, raw, as earlier versions wrote it
  int psd_compression = 1; // 0: raw; otherwise PackBits
  int tga_bpp = 0;
  int tga_compression = 0;
  int tiff_bpp = 0;
  int tiff_compression = 0;
  int tiff_color_model = 0;
  int wbmp_bpp = 0;
  int webp_bpp = 0;
  int xpm_bpp = 0;

  // [Transform]
  Flag do_image_rotation = 0;
  Byte image_rotation_type = 0;
  int image_rotation = 0;
  QString image_rotation_back_color;
  Flag do_image_resize = 0;
  int image_width = 0;
  Byte image_width_unit = 0;
  int image_height = 0;
  Byte image_height_unit = 0;
  Flag keep_aspect_ratio = 1;
  Byte image_resize_type = 0;
  Byte image_resize_algorithm = 3;
  Flag do_image_flip_horizontal = 0;
  Flag do_image_flip_vertical = 0;

  // [Adjustment]
  Flag do_image_color_correction = 0;
  int image_brightness = 0;
  int image_contrast = 0;
  float image_gamma = 1.0f;
  Flag image_invert = 0;
  Flag do_image_greyscale = 0;
  Flag do_image_threshold = 0;
  int image_threshold = 0;

  // [Frame]
  FrameKind do_frame = FrameKind::None;
  int solid_left = 0;
  int solid_right = 0;
  int solid_top = 0;
  int solid_bottom = 0;
  QString solid_left_color;
  QString solid_right_color;
  QString solid_top_color;
  QString solid_bottom_color;
  int solid_opacity = 255;

  // [Watermark]
  WatermarkKind do_watermark = WatermarkKind::None;
  QString text;
  QString fonts;
  QString font;
  int font_size = 14;
  int font_leading = 0;
  QString font_colors;
  QString font_color;
  Byte font_style = 0;
  Byte font_effect = 0;
  Byte text_antialiasing = 0;
  Byte text_alignment = 0;
  int text_padding = 0;
  int text_opacity = 255;
  QString back_colors;
  QString back_color;
  int back_opacity = 1;
  Byte text_boundary = 0;
  Byte text_position = 8;
  int text_x_offset = 10;
  int text_y_offset = 10;
  int text_rotation = 0;
  Byte text_size = 0;
  int text_scale = 10;
  QString image;
  Flag image_greyscale = 0;
  int image_opacity = 255;
  Byte image_boundary = 0;
  Byte image_position = 8;
  int image_x_offset = 10;
  int image_y_offset = 10;
  int wm_image_rotation = 0; // "Image Rotation" of [Watermark]
  Byte image_size = 0;
  int image_scale = 10;

  // [Advanced]
  QString filename_mask;
  TimestampKind file_timestamp = TimestampKind::Current;
  int custom_timestamp = 0;
  Flag out_folders_history = 1;
  Byte out_folders_number = 5;
  Flag keep_subfolders = 1;

  // [File]
  QString recent_out_folders;
  QString recent_files;

  // [Privacy]
  Flag clean_recent_files = 0;
};

enum class SettingsUse { Window, Console };

// Every field at its default. The window is centred on a desktop of the given size (the window
// front measures it; the engine never asks a display); console use clears Keep Aspect Ratio.
Settings default_settings(SettingsUse use, QSize desktop = QSize(1920, 1080));

// Current local date-time as seconds since 1970-01-01 (local wall clock read as UTC).
int local_now_seconds();

} // namespace lumbrix
