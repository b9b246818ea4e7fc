#include "engine/settings/settings_keys.h"

#include <type_traits>

namespace lumbrix {
namespace {

// One key a line reads as the table it is.
// clang-format off
const SettingKey kKeys[] = {
    {"General", "CFG", KeyType::Int, &Settings::cfg, DefaultKind::Value, "17", "0", nullptr, false},
    {"General", "Language", KeyType::Text, &Settings::language, DefaultKind::Value, "en", nullptr, nullptr, false},
    {"General", "Update Range", KeyType::Int, &Settings::update_range, DefaultKind::Value, "2", nullptr, nullptr, false},
    {"General", "Update Date", KeyType::Int, &Settings::update_date, DefaultKind::Now, nullptr, nullptr, nullptr, false},
    {"General", "Save Window Position", KeyType::Flag, &Settings::save_window_position, DefaultKind::Value, "1", nullptr, nullptr, false},
    {"Window", "IsMaximized", KeyType::Flag, &Settings::is_maximized, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Window", "Width", KeyType::Int, &Settings::window_width, DefaultKind::Value, "510", nullptr, nullptr, false},
    {"Window", "Height", KeyType::Int, &Settings::window_height, DefaultKind::Value, "260", nullptr, nullptr, false},
    {"Window", "X", KeyType::Int, &Settings::window_x, DefaultKind::CentreX, nullptr, "100", nullptr, false},
    {"Window", "Y", KeyType::Int, &Settings::window_y, DefaultKind::CentreY, nullptr, "100", nullptr, false},
    {"Interface", "UI Theme", KeyType::Text, &Settings::ui_theme, DefaultKind::Value, "handdrawn", nullptr, nullptr, false},
    {"Interface", "UI Size", KeyType::Int, &Settings::ui_size, DefaultKind::Value, "2", nullptr, nullptr, false},
    {"Input", "Format", KeyType::Text, &Settings::input_format, DefaultKind::FirstInput, nullptr, nullptr, nullptr, false},
    {"Input", "DDS Load As", KeyType::Int, &Settings::dds_load_as, DefaultKind::Value, "0", nullptr, "dds", false},
    {"Input", "GIF Frame Loading", KeyType::Int, &Settings::gif_frame_loading, DefaultKind::Value, "0", nullptr, "gif", false},
    {"Input", "ICO Frame Loading", KeyType::Int, &Settings::ico_frame_loading, DefaultKind::Value, "0", nullptr, "ico", false},
    {"Input", "RAW Load As", KeyType::Int, &Settings::raw_load_as, DefaultKind::Value, "0", nullptr, "raw", false},
    {"Input", "RAW Header Size", KeyType::Int, &Settings::raw_header_size, DefaultKind::Value, "0", nullptr, "raw", false},
    {"Input", "RAW Image Width", KeyType::Int, &Settings::raw_image_width, DefaultKind::Value, "0", nullptr, "raw", false},
    {"Input", "RAW Image Height", KeyType::Int, &Settings::raw_image_height, DefaultKind::Value, "0", nullptr, "raw", false},
    {"Input", "RAW Tone Mapping", KeyType::Int, &Settings::raw_tone_mapping, DefaultKind::Value, "2", nullptr, "raw", false},
    {"Input", "TIFF Frame Loading", KeyType::Int, &Settings::tiff_frame_loading, DefaultKind::Value, "0", nullptr, "tiff", false},
    {"Output", "Format", KeyType::Text, &Settings::output_format, DefaultKind::FirstOutput, nullptr, nullptr, nullptr, false},
    {"Output", "BMP BPP", KeyType::Int, &Settings::bmp_bpp, DefaultKind::Value, "0", nullptr, "bmp", false},
    {"Output", "BMP Compression", KeyType::Int, &Settings::bmp_compression, DefaultKind::Value, "0", nullptr, "bmp", false},
    {"Output", "BMP Color Table", KeyType::Int, &Settings::bmp_color_table, DefaultKind::Value, "0", nullptr, "bmp", false},
    {"Output", "DDS BPP", KeyType::Int, &Settings::dds_bpp, DefaultKind::Value, "0", nullptr, "dds", false},
    {"Output", "EXR BPP", KeyType::Int, &Settings::exr_bpp, DefaultKind::Value, "0", nullptr, "exr", false},
    {"Output", "EXR Compression", KeyType::Int, &Settings::exr_compression, DefaultKind::Value, "0", nullptr, "exr", false},
    {"Output", "GIF BPP", KeyType::Int, &Settings::gif_bpp, DefaultKind::Value, "0", nullptr, "gif", false},
    {"Output", "HDR BPP", KeyType::Int, &Settings::hdr_bpp, DefaultKind::Value, "0", nullptr, "hdr", false},
    {"Output", "ICO BPP", KeyType::Int, &Settings::ico_bpp, DefaultKind::Value, "0", nullptr, "ico", false},
    {"Output", "J2K BPP", KeyType::Int, &Settings::j2k_bpp, DefaultKind::Value, "0", nullptr, "j2k", false},
    {"Output", "JNG BPP", KeyType::Int, &Settings::jng_bpp, DefaultKind::Value, "0", nullptr, "jng", false},
    {"Output", "JP2 BPP", KeyType::Int, &Settings::jp2_bpp, DefaultKind::Value, "0", nullptr, "jp2", false},
    {"Output", "JPG BPP", KeyType::Int, &Settings::jpg_bpp, DefaultKind::Value, "0", nullptr, "jpg", false},
    {"Output", "JPG Quality", KeyType::Int, &Settings::jpg_quality, DefaultKind::Value, "95", nullptr, "jpg", false},
    {"Output", "JPG Chroma", KeyType::Int, &Settings::jpg_chroma, DefaultKind::Value, "0", nullptr, "jpg", false},
    {"Output", "JPG Save As", KeyType::Int, &Settings::jpg_save_as, DefaultKind::Value, "0", nullptr, "jpg", false},
    {"Output", "JXR BPP", KeyType::Int, &Settings::jxr_bpp, DefaultKind::Value, "0", nullptr, "jxr", false},
    {"Output", "PBM BPP", KeyType::Int, &Settings::pbm_bpp, DefaultKind::Value, "0", nullptr, "pbm", false},
    {"Output", "PCX BPP", KeyType::Int, &Settings::pcx_bpp, DefaultKind::Value, "0", nullptr, "pcx", false},
    {"Output", "PFM BPP", KeyType::Int, &Settings::pfm_bpp, DefaultKind::Value, "0", nullptr, "pfm", false},
    {"Output", "PGM BPP", KeyType::Int, &Settings::pgm_bpp, DefaultKind::Value, "0", nullptr, "pgm", false},
    {"Output", "PNG BPP", KeyType::Int, &Settings::png_bpp, DefaultKind::Value, "0", nullptr, "png", false},
    {"Output", "PNG Compression", KeyType::Int, &Settings::png_compression, DefaultKind::Value, "0", nullptr, "png", false},
    {"Output", "PNG Interlaced", KeyType::Flag, &Settings::png_interlaced, DefaultKind::Value, "0", nullptr, "png", false},
    {"Output", "PPM BPP", KeyType::Int, &Settings::ppm_bpp, DefaultKind::Value, "0", nullptr, "ppm", false},
    {"Output", "PSD BPP", KeyType::Int, &Settings::psd_bpp, DefaultKind::Value, "0", nullptr, "psd", false},
    {"Output", "PSD Layers", KeyType::Int, &Settings::psd_layers, DefaultKind::Value, "1", nullptr, "psd", false},
    {"Output", "PSD Compression", KeyType::Int, &Settings::psd_compression, DefaultKind::Value, "1", nullptr, "psd", false},
    {"Output", "TGA BPP", KeyType::Int, &Settings::tga_bpp, DefaultKind::Value, "0", nullptr, "tga", false},
    {"Output", "TGA Compression", KeyType::Int, &Settings::tga_compression, DefaultKind::Value, "0", nullptr, "tga", false},
    {"Output", "TIFF BPP", KeyType::Int, &Settings::tiff_bpp, DefaultKind::Value, "0", nullptr, "tiff", false},
    {"Output", "TIFF Compression", KeyType::Int, &Settings::tiff_compression, DefaultKind::Value, "0", nullptr, "tiff", false},
    {"Output", "TIFF Color Model", KeyType::Int, &Settings::tiff_color_model, DefaultKind::Value, "0", nullptr, "tiff", false},
    {"Output", "WBMP BPP", KeyType::Int, &Settings::wbmp_bpp, DefaultKind::Value, "0", nullptr, "wbmp", false},
    {"Output", "WEBP BPP", KeyType::Int, &Settings::webp_bpp, DefaultKind::Value, "0", nullptr, "webp", false},
    {"Output", "XPM BPP", KeyType::Int, &Settings::xpm_bpp, DefaultKind::Value, "0", nullptr, "xpm", false},
    {"Transform", "Do Image Rotation", KeyType::Flag, &Settings::do_image_rotation, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Transform", "Image Rotation Type", KeyType::Byte, &Settings::image_rotation_type, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Transform", "Image Rotation", KeyType::Int, &Settings::image_rotation, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Transform", "Image Rotation Back Color", KeyType::Text, &Settings::image_rotation_back_color, DefaultKind::Value, "000000", nullptr, nullptr, true},
    {"Transform", "Do Image Resize", KeyType::Flag, &Settings::do_image_resize, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Transform", "Image Width", KeyType::Int, &Settings::image_width, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Transform", "Image Width Unit", KeyType::Byte, &Settings::image_width_unit, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Transform", "Image Height", KeyType::Int, &Settings::image_height, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Transform", "Image Height Unit", KeyType::Byte, &Settings::image_height_unit, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Transform", "Keep Aspect Ratio", KeyType::Flag, &Settings::keep_aspect_ratio, DefaultKind::AspectRatio, nullptr, "1", nullptr, false},
    {"Transform", "Image Resize Type", KeyType::Byte, &Settings::image_resize_type, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Transform", "Image Resize Algorithm", KeyType::Byte, &Settings::image_resize_algorithm, DefaultKind::Value, "3", nullptr, nullptr, false},
    {"Transform", "Do Image Flip Horizontal", KeyType::Flag, &Settings::do_image_flip_horizontal, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Transform", "Do Image Flip Vertical", KeyType::Flag, &Settings::do_image_flip_vertical, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Adjustment", "Do Image Color Correction", KeyType::Flag, &Settings::do_image_color_correction, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Adjustment", "Image Brightness", KeyType::Int, &Settings::image_brightness, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Adjustment", "Image Contrast", KeyType::Int, &Settings::image_contrast, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Adjustment", "Image Gamma", KeyType::Float, &Settings::image_gamma, DefaultKind::Value, "1.0", nullptr, nullptr, false},
    {"Adjustment", "Image Invert", KeyType::Flag, &Settings::image_invert, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Adjustment", "Do Image Greyscale", KeyType::Flag, &Settings::do_image_greyscale, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Adjustment", "Do Image Threshold", KeyType::Flag, &Settings::do_image_threshold, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Adjustment", "Image Threshold", KeyType::Int, &Settings::image_threshold, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Frame", "Do Frame", KeyType::Byte, &Settings::do_frame, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Frame", "Solid Left", KeyType::Int, &Settings::solid_left, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Frame", "Solid Right", KeyType::Int, &Settings::solid_right, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Frame", "Solid Top", KeyType::Int, &Settings::solid_top, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Frame", "Solid Bottom", KeyType::Int, &Settings::solid_bottom, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Frame", "Solid Left Color", KeyType::Text, &Settings::solid_left_color, DefaultKind::Value, "000000", nullptr, nullptr, true},
    {"Frame", "Solid Right Color", KeyType::Text, &Settings::solid_right_color, DefaultKind::Value, "000000", nullptr, nullptr, true},
    {"Frame", "Solid Top Color", KeyType::Text, &Settings::solid_top_color, DefaultKind::Value, "000000", nullptr, nullptr, true},
    {"Frame", "Solid Bottom Color", KeyType::Text, &Settings::solid_bottom_color, DefaultKind::Value, "000000", nullptr, nullptr, true},
    {"Frame", "Solid Opacity", KeyType::Int, &Settings::solid_opacity, DefaultKind::Value, "255", nullptr, nullptr, false},
    {"Watermark", "Do Watermark", KeyType::Byte, &Settings::do_watermark, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Text", KeyType::Text, &Settings::text, DefaultKind::WatermarkText, nullptr, nullptr, nullptr, true},
    {"Watermark", "Fonts", KeyType::Text, &Settings::fonts, DefaultKind::Value, "Arial,Tahoma,Verdana", nullptr, nullptr, true},
    {"Watermark", "Font", KeyType::Text, &Settings::font, DefaultKind::Value, "Arial", nullptr, nullptr, true},
    {"Watermark", "Font Size", KeyType::Int, &Settings::font_size, DefaultKind::Value, "14", nullptr, nullptr, false},
    {"Watermark", "Font Leading", KeyType::Int, &Settings::font_leading, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Font Colors", KeyType::Text, &Settings::font_colors, DefaultKind::Value, "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF", nullptr, nullptr, true},
    {"Watermark", "Font Color", KeyType::Text, &Settings::font_color, DefaultKind::Value, "FFFFFF", nullptr, nullptr, true},
    {"Watermark", "Font Style", KeyType::Byte, &Settings::font_style, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Font Effect", KeyType::Byte, &Settings::font_effect, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Text Antialiasing", KeyType::Byte, &Settings::text_antialiasing, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Text Alignment", KeyType::Byte, &Settings::text_alignment, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Text Padding", KeyType::Int, &Settings::text_padding, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Text Opacity", KeyType::Int, &Settings::text_opacity, DefaultKind::Value, "255", nullptr, nullptr, false},
    {"Watermark", "Back Colors", KeyType::Text, &Settings::back_colors, DefaultKind::Value, "000000,FFFFFF,FF0000,FF8000,FFFF00,008000,00FFFF,0000FF,8000FF", nullptr, nullptr, true},
    {"Watermark", "Back Color", KeyType::Text, &Settings::back_color, DefaultKind::Value, "000000", nullptr, nullptr, true},
    {"Watermark", "Back Opacity", KeyType::Int, &Settings::back_opacity, DefaultKind::Value, "1", nullptr, nullptr, false},
    {"Watermark", "Text Boundary", KeyType::Byte, &Settings::text_boundary, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Text Position", KeyType::Byte, &Settings::text_position, DefaultKind::Value, "8", nullptr, nullptr, false},
    {"Watermark", "Text X Offset", KeyType::Int, &Settings::text_x_offset, DefaultKind::Value, "10", nullptr, nullptr, false},
    {"Watermark", "Text Y Offset", KeyType::Int, &Settings::text_y_offset, DefaultKind::Value, "10", nullptr, nullptr, false},
    {"Watermark", "Text Rotation", KeyType::Int, &Settings::text_rotation, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Text Size", KeyType::Byte, &Settings::text_size, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Text Scale", KeyType::Int, &Settings::text_scale, DefaultKind::Value, "10", nullptr, nullptr, false},
    {"Watermark", "Image", KeyType::Text, &Settings::image, DefaultKind::Value, "", nullptr, nullptr, true},
    {"Watermark", "Image Greyscale", KeyType::Flag, &Settings::image_greyscale, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Image Opacity", KeyType::Int, &Settings::image_opacity, DefaultKind::Value, "255", nullptr, nullptr, false},
    {"Watermark", "Image Boundary", KeyType::Byte, &Settings::image_boundary, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Image Position", KeyType::Byte, &Settings::image_position, DefaultKind::Value, "8", nullptr, nullptr, false},
    {"Watermark", "Image X Offset", KeyType::Int, &Settings::image_x_offset, DefaultKind::Value, "10", nullptr, nullptr, false},
    {"Watermark", "Image Y Offset", KeyType::Int, &Settings::image_y_offset, DefaultKind::Value, "10", nullptr, nullptr, false},
    {"Watermark", "Image Rotation", KeyType::Int, &Settings::wm_image_rotation, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Image Size", KeyType::Byte, &Settings::image_size, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Watermark", "Image Scale", KeyType::Int, &Settings::image_scale, DefaultKind::Value, "10", nullptr, nullptr, false},
    {"Advanced", "Filename Mask", KeyType::Text, &Settings::filename_mask, DefaultKind::Value, "%filename%.%ext%", nullptr, nullptr, true},
    {"Advanced", "File Timestamp", KeyType::Byte, &Settings::file_timestamp, DefaultKind::Value, "0", nullptr, nullptr, false},
    {"Advanced", "Custom Timestamp", KeyType::Int, &Settings::custom_timestamp, DefaultKind::Now, nullptr, nullptr, nullptr, false},
    {"Advanced", "Out Folders History", KeyType::Flag, &Settings::out_folders_history, DefaultKind::Value, "1", nullptr, nullptr, false},
    {"Advanced", "Out Folders Number", KeyType::Byte, &Settings::out_folders_number, DefaultKind::Value, "5", nullptr, nullptr, false},
    {"Advanced", "Keep Subfolders", KeyType::Flag, &Settings::keep_subfolders, DefaultKind::Value, "1", nullptr, nullptr, false},
    {"File", "Recent Out Folders", KeyType::Text, &Settings::recent_out_folders, DefaultKind::Value, "", nullptr, nullptr, false},
    {"File", "Recent Files", KeyType::Text, &Settings::recent_files, DefaultKind::Value, "", nullptr, nullptr, false},
    {"Privacy", "Clean Recent Files", KeyType::Flag, &Settings::clean_recent_files, DefaultKind::Value, "0", nullptr, nullptr, false},
};
// clang-format on

template <typename T> T &field(Settings &s, const SettingKey &k) {
  return s.*std::get<T Settings::*>(k.member);
}

template <typename T> const T &field(const Settings &s, const SettingKey &k) {
  return s.*std::get<T Settings::*>(k.member);
}

template <typename T> using FieldType = std::remove_cvref_t<T>;

} // namespace

std::span<const SettingKey> setting_keys() { return kKeys; }

const SettingKey *find_setting_key(const QString &section, const QString &key) {
  for (const SettingKey &k : kKeys) {
    if (section.compare(QLatin1String(k.section), Qt::CaseInsensitive) == 0 &&
        key.compare(QLatin1String(k.key), Qt::CaseInsensitive) == 0)
      return &k;
  }
  return nullptr;
}

int output_bpp_setting(const Settings &s, const QString &extension) {
  const SettingKey *key =
      find_setting_key(QStringLiteral("Output"), extension.toUpper() + QLatin1String(" BPP"));
  return key ? key_int(s, *key) : 0;
}

int key_int(const Settings &s, const SettingKey &k) {
  return std::visit(
      [&s](auto member) -> int {
        using T = FieldType<decltype(s.*member)>;
        if constexpr (std::is_enum_v<T> || std::is_integral_v<T>)
          return static_cast<int>(s.*member);
        else
          return 0;
      },
      k.member);
}

void set_key_int(Settings &s, const SettingKey &k, int value) {
  std::visit(
      [&s, value](auto member) {
        using T = FieldType<decltype(s.*member)>;
        if constexpr (std::is_same_v<T, int>)
          s.*member = value;
        else if constexpr (std::is_enum_v<T> || std::is_integral_v<T>)
          s.*member = static_cast<T>(value & 0xFF);
      },
      k.member);
}

float key_float(const Settings &s, const SettingKey &k) { return field<float>(s, k); }

void set_key_float(Settings &s, const SettingKey &k, float value) { field<float>(s, k) = value; }

const QString &key_text(const Settings &s, const SettingKey &k) { return field<QString>(s, k); }

void set_key_text(Settings &s, const SettingKey &k, const QString &value) {
  field<QString>(s, k) = value;
}

} // namespace lumbrix
