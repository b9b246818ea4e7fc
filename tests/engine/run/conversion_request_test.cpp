#include "engine/run/conversion_request.h"
#include "support/requests.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace lumbrix {
namespace {

// Requests built directly, with nothing process-wide set up first.
class ConversionRequestCheck : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath(QStringLiteral("in.png")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not checked here");
  }

  ConversionRequest valid() const {
    ConversionRequest r = test::psd_request(dir.path() + QLatin1Char('/'), SettingsUse::Console);
    r.files = {InputFile{dir.filePath(QStringLiteral("in.png")), QString()}};
    return r;
  }

  QTemporaryDir dir;
};

TEST_F(ConversionRequestCheck, EachCheckNamesItsProblemAndTheFirstFailureWins) {
  const struct {
    RequestProblem expected;
    std::function<void(ConversionRequest &)> change;
  } cases[] = {
      {RequestProblem::None, [](ConversionRequest &) {}},
      {RequestProblem::InputFileInvalid, [](ConversionRequest &r) { r.files.clear(); }},
      {RequestProblem::InputFileInvalid, [](ConversionRequest &r) { r.files[0].path += "x"; }},
      {RequestProblem::NoOutputFolder, [](ConversionRequest &r) { r.output_folder.clear(); }},
      {RequestProblem::OutputFolderNotFound,
       [](ConversionRequest &r) { r.output_folder += "no/"; }},
      {RequestProblem::UnknownOutputFormat,
       [](ConversionRequest &r) { r.output_extension = "PSD"; }},
      {RequestProblem::BitDepthNotAllowed, [](ConversionRequest &r) { r.settings.psd_bpp = 24; }},
      {RequestProblem::ResizeWidthMissing,
       [](ConversionRequest &r) { r.settings.do_image_resize = 1, r.settings.image_height = 5; }},
      {RequestProblem::ResizeHeightMissing,
       [](ConversionRequest &r) { r.settings.do_image_resize = 1, r.settings.image_width = 5; }},
      {RequestProblem::BrightnessOutOfRange,
       [](ConversionRequest &r) {
         r.settings.do_image_color_correction = 1, r.settings.image_brightness = -101;
       }},
      {RequestProblem::ContrastOutOfRange,
       [](ConversionRequest &r) {
         r.settings.do_image_color_correction = 1, r.settings.image_contrast = 101;
       }},
      {RequestProblem::GammaOutOfRange,
       [](ConversionRequest &r) {
         r.settings.do_image_color_correction = 1, r.settings.image_gamma = 0.0f / 0.0f;
       }},
      {RequestProblem::WatermarkFontUnusable,
       [](ConversionRequest &r) {
         r.settings.do_watermark = WatermarkKind::Text, r.settings.font_size = 0;
       }},
      {RequestProblem::NoWatermarkImage,
       [](ConversionRequest &r) { r.settings.do_watermark = WatermarkKind::Image; }},
      {RequestProblem::WatermarkImageInvalid,
       [](ConversionRequest &r) {
         r.settings.do_watermark = WatermarkKind::Image, r.settings.image = "/no/such.png";
       }},
      // A file of some bytes that is no picture: a run would leave every file unmarked.
      {RequestProblem::WatermarkImageInvalid,
       [](ConversionRequest &r) {
         r.settings.do_watermark = WatermarkKind::Image, r.settings.image = r.files[0].path;
       }},
      // Out-of-range values the run never uses are not checked.
      {RequestProblem::None, [](ConversionRequest &r) { r.settings.image_brightness = 500; }},
      // Two problems: the earlier check is the one reported.
      {RequestProblem::NoOutputFolder,
       [](ConversionRequest &r) { r.output_folder.clear(), r.settings.psd_bpp = 8; }},
  };
  for (const auto &c : cases) {
    ConversionRequest request = valid();
    c.change(request);
    EXPECT_EQ(check_request(request), c.expected) << static_cast<int>(c.expected);
  }
}

TEST_F(ConversionRequestCheck, ATextWatermarkSettlesTheFontOthersClearIt) {
  ConversionRequest request = valid();
  request.settings.do_watermark = WatermarkKind::Text;
  request.settings.font = QStringLiteral("DejaVu Sans");
  request.settings.font_style = 3;
  ASSERT_EQ(check_request(request), RequestProblem::None);
  ASSERT_TRUE(request.watermark_font);
  EXPECT_TRUE(request.watermark_font->bold && request.watermark_font->italic);
  request.settings.do_watermark = WatermarkKind::None;
  ASSERT_EQ(check_request(request), RequestProblem::None);
  EXPECT_FALSE(request.watermark_font);
}

} // namespace
} // namespace lumbrix
