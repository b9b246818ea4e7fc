#include "engine/settings/settings.h"
#include "engine/stages/watermark/watermark_text_layer.h"
#include "platform/gui_app.h"
#include "platform/painter_text.h"
#include "support/paths.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

#include <cstdlib>

namespace lumbrix {
namespace {

const WatermarkFont sans{QStringLiteral("DejaVu Sans"), 14};

class TextWatermarkLayer : public ::testing::Test {
protected:
  static void SetUpTestSuite() { ASSERT_TRUE(ensure_gui_application()); }

  Settings s = default_settings(SettingsUse::Console);

  void SetUp() override {
    s.font_color = QStringLiteral("000000");
    s.back_color = QStringLiteral("FFFFFF");
    s.back_opacity = 255;
  }

  QImage layer(const QString &text, const WatermarkFont &font = sans) {
    return text_watermark_layer(text, watermark_qfont(font), s);
  }
};

// First and last column with dark pixels in rows [top, bottom).
std::pair<int, int> ink_columns(const QImage &image, int top, int bottom) {
  int first = image.width();
  int last = -1;
  for (int y = top; y < bottom; ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qGray(image.pixel(x, y)) < 128) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  return {first, last};
}

// Font rasterisers differ between systems: a render matches its reference when the sizes are
// within 4 (width) and 2 (height) pixels and at most 5% of the shared pixels differ by more than
// 64 in a channel. A failing render is saved in the working folder for a look.
void expect_like_reference(const QImage &render, const QString &name) {
  const QImage reference = QImage(test::source_dir() + "tests/data/watermark/" + name)
                               .convertToFormat(QImage::Format_ARGB32);
  const auto keep = [&] {
    render.save(QDir::current().filePath(name));
    return "render saved as " + QDir::current().filePath(name).toStdString();
  };
  ASSERT_FALSE(reference.isNull()) << keep();
  ASSERT_LE(std::abs(render.width() - reference.width()), 4) << keep();
  ASSERT_LE(std::abs(render.height() - reference.height()), 2) << keep();
  const int width = std::min(render.width(), reference.width());
  const int height = std::min(render.height(), reference.height());
  int differing = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const QRgb a = render.pixel(x, y);
      const QRgb b = reference.pixel(x, y);
      differing += std::abs(qRed(a) - qRed(b)) > 64 || std::abs(qGreen(a) - qGreen(b)) > 64 ||
                   std::abs(qBlue(a) - qBlue(b)) > 64 || std::abs(qAlpha(a) - qAlpha(b)) > 64;
    }
  EXPECT_LE(differing, width * height / 20) << keep();
}

TEST_F(TextWatermarkLayer, LineXByAlignmentHalvesRoundedAwayFromZero) {
  s.text_padding = 4;
  EXPECT_EQ(line_x(s, 30, 50), 4);
  s.text_alignment = 1;
  EXPECT_EQ(line_x(s, 30, 35), 3);
  EXPECT_EQ(line_x(s, 35, 30), -3);
  s.text_alignment = 2;
  EXPECT_EQ(line_x(s, 30, 50), 16);
}

TEST_F(TextWatermarkLayer, BoxIsTheWidestLineAndAllLinesWithLeadingPlusPadding) {
  s.text_padding = 5;
  s.font_leading = 3;
  const QFont font = watermark_qfont(sans);
  EXPECT_EQ(font.pixelSize(), 19); // 14 points at 96 dots per inch
  const int line = raster_text_size(font, QStringLiteral("Ab")).height();
  const int wide = raster_text_size(font, QStringLiteral("Abcdefgh")).width();
  for (const int antialiasing : {0, 1}) {
    s.text_antialiasing = static_cast<Byte>(antialiasing);
    EXPECT_EQ(layer("Ab%eol%Abcdefgh").size(), QSize(wide + 10, 2 * line + 3 + 10));
  }
}

TEST_F(TextWatermarkLayer, SeparatorInAnyCaseGivesCentredLines) {
  s.text_alignment = 1;
  s.text_padding = 6;
  const QImage image = layer(QStringLiteral("Ab%EOL%Wide second line"));
  const int half = image.height() / 2;
  const auto [first_left, first_right] = ink_columns(image, 0, half);
  const auto [second_left, second_right] = ink_columns(image, half, image.height());
  EXPECT_NEAR(first_left + first_right, image.width(), 4);
  EXPECT_NEAR(second_left + second_right, image.width(), 4);
  EXPECT_GT(first_left, second_left + 20);
}

TEST_F(TextWatermarkLayer, RasterTextAndBackgroundKeepTheirOwnAlpha) {
  s.font_color = QStringLiteral("FFFF00");
  s.text_opacity = 200;
  s.back_color = QStringLiteral("0000FF");
  s.back_opacity = 1;
  const QImage image = layer(QStringLiteral("Raster text"));
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      colours.insert(image.pixel(x, y));
  EXPECT_EQ(colours, (QSet<QRgb>{qRgba(0, 0, 255, 1), qRgba(255, 255, 0, 200)}));
}

TEST_F(TextWatermarkLayer, RendersLookLikeTheirReferences) {
  s.font_color = QStringLiteral("FFE000");
  s.back_color = QStringLiteral("203080");
  s.text_padding = 6;
  s.font_leading = 2;
  s.text_alignment = 2;
  expect_like_reference(layer(QStringLiteral("Vantrel 2.2%EOL%raster watermark")),
                        QStringLiteral("raster_text.png"));
  s.text_antialiasing = 1;
  s.font_color = QStringLiteral("C00000");
  s.back_color = QStringLiteral("F0F0E0");
  s.back_opacity = 200;
  s.text_padding = 8;
  s.font_leading = 0;
  s.text_alignment = 1;
  expect_like_reference(layer(QStringLiteral("Antialiased%eol%bold italic underlined"),
                              {sans.family, 16, true, true, true}),
                        QStringLiteral("vector_text.png"));
}

} // namespace
} // namespace lumbrix
