#include "engine/run/conversion_request.h"

#include "engine/image/deep_picture.h"
#include "engine/settings/format_catalogue.h"
#include "engine/settings/settings_keys.h"
#include "engine/stages/watermark/watermark_image_decoder.h"
#include "platform/files.h"
#include "platform/gui_app.h"

#include <QFileInfo>

namespace lumbrix {
namespace {

bool is_non_empty_file(const QString &path) { return file_size(path) >= 1; }

// One file alone must be there to run at all; among several, a file that is not fails on its own
// and the others still convert.
bool input_files_valid(ConversionRequest &r) {
  // A file found with a refusal fails in the run, with its own reason.
  return r.files.size() > 1 || (r.files.size() == 1 && (!r.files[0].refusal.isEmpty() ||
                                                        is_non_empty_file(r.files[0].path)));
}

bool output_folder_given(ConversionRequest &r) { return !r.output_folder.isEmpty(); }

bool output_folder_exists(ConversionRequest &r) { return QFileInfo(r.output_folder).isDir(); }

bool output_format_known(ConversionRequest &r) { return is_output_extension(r.output_extension); }

bool bit_depth_allowed(ConversionRequest &r) {
  return bpp_allowed(r.output_extension, requested_depth(r));
}

bool jpg_quality_in_range(ConversionRequest &r) {
  const int quality = r.settings.jpg_quality;
  return r.output_extension != QLatin1String("jpg") || (quality >= 1 && quality <= 100);
}

bool resize_width_given(ConversionRequest &r) {
  return !r.settings.do_image_resize || r.settings.image_width != 0;
}

bool resize_height_given(ConversionRequest &r) {
  return !r.settings.do_image_resize || r.settings.image_height != 0;
}

bool in_percent_range(int value) { return value >= -100 && value <= 100; }

bool brightness_in_range(ConversionRequest &r) {
  return !r.settings.do_image_color_correction || in_percent_range(r.settings.image_brightness);
}

bool contrast_in_range(ConversionRequest &r) {
  return !r.settings.do_image_color_correction || in_percent_range(r.settings.image_contrast);
}

bool gamma_in_range(ConversionRequest &r) {
  const float gamma = r.settings.image_gamma;
  // NaN fails both comparisons, so it is refused as well.
  return !r.settings.do_image_color_correction || (gamma >= 0.01f && gamma <= 9.99f);
}

// Fonts need a GUI application; the console front has none until it asks for one here.
bool watermark_font_usable(ConversionRequest &r) {
  r.watermark_font.reset();
  if (r.settings.do_watermark != WatermarkKind::Text)
    return true;
  if (!ensure_gui_application())
    return false;
  r.watermark_font = watermark_font(r.settings);
  return r.watermark_font.has_value();
}

bool watermark_image_named(ConversionRequest &r) {
  return r.settings.do_watermark != WatermarkKind::Image || !r.settings.image.isEmpty();
}

// Decoded once here, so that a file no stage could draw stops the run instead of leaving every
// picture without its watermark.
bool watermark_image_valid(ConversionRequest &r) {
  return r.settings.do_watermark != WatermarkKind::Image ||
         (is_non_empty_file(r.settings.image) && watermark_image_decodes(r.settings.image));
}

constexpr RequestCheck checks[] = {
    {RequestProblem::InputFileInvalid, input_files_valid},
    {RequestProblem::NoOutputFolder, output_folder_given},
    {RequestProblem::OutputFolderNotFound, output_folder_exists},
    {RequestProblem::UnknownOutputFormat, output_format_known},
    {RequestProblem::BitDepthNotAllowed, bit_depth_allowed},
    {RequestProblem::JpgQualityOutOfRange, jpg_quality_in_range},
    {RequestProblem::ResizeWidthMissing, resize_width_given},
    {RequestProblem::ResizeHeightMissing, resize_height_given},
    {RequestProblem::BrightnessOutOfRange, brightness_in_range},
    {RequestProblem::ContrastOutOfRange, contrast_in_range},
    {RequestProblem::GammaOutOfRange, gamma_in_range},
    {RequestProblem::WatermarkFontUnusable, watermark_font_usable},
    {RequestProblem::NoWatermarkImage, watermark_image_named},
    {RequestProblem::WatermarkImageInvalid, watermark_image_valid},
};

} // namespace

int requested_depth(const ConversionRequest &request) {
  return output_bpp_setting(request.settings, request.output_extension);
}

bool deep_output(const ConversionRequest &request) {
  return requested_depth(request) == deep_depth;
}

std::span<const RequestCheck> request_checks() { return checks; }

RequestProblem check_request(ConversionRequest &request) {
  for (const RequestCheck &check : checks)
    if (!check.passes(request))
      return check.problem;
  return RequestProblem::None;
}

} // namespace lumbrix
