#include "engine/settings.h"
#include "engine/watermark_text_layer.h"
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

  void SetUp() override {
    set_defaults(true);
    Settings &s = settings();
    s.do_watermark = 1;
    s.font_color = QStringLiteral("000000");
    s.back_color = QStringLiteral("FFFFFF");
    s.back_opacity = 255;
  }

  static QImage layer(const QString &text, const WatermarkFont &font = sans) {
    return text_watermark_layer(text, watermark_qfont(font));
  }
};

// Columns holding dark (text) pixels within rows [top, bottom).
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

// Font rasterisers differ between systems, so a render matches its reference when the sizes
// are within a few pixels and at most 5% of the shared pixels differ by more than 64 in any
// channel. A failing render is saved beside the test binary for a look.
void expect_like_reference(const QImage &render, const QString &name) {
  const QString reference_path = test::source_dir() + "tests/data/watermark/" + name;
  const QImage reference = QImage(reference_path).convertToFormat(QImage::Format_ARGB32);
  const auto keep = [&] {
    render.save(QDir::current().filePath(name));
    return "render saved as " + QDir::current().filePath(name).toStdString();
  };
  ASSERT_FALSE(reference.isNull()) << reference_path.toStdString() << "; " << keep();
  ASSERT_LE(std::abs(render.width() - reference.width()), 4) << keep();
  ASSERT_LE(std::abs(render.height() - reference.height()), 2) << keep();
  int differing = 0;
  const int width = std::min(render.width(), reference.width());
  const int height = std::min(render.height(), reference.height());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const QRgb a = render.pixel(x, y);
      const QRgb b = reference.pixel(x, y);
      if (std::abs(qRed(a) - qRed(b)) > 64 || std::abs(qGreen(a) - qGreen(b)) > 64 ||
          std::abs(qBlue(a) - qBlue(b)) > 64 || std::abs(qAlpha(a) - qAlpha(b)) > 64)
        ++differing;
    }
  EXPECT_LE(differing, width * height / 20) << keep();
}

TEST(WatermarkQFont, PointsAt96DotsPerInchAndStyle) {
  const QFont font = watermark_qfont({QStringLiteral("DejaVu Serif"), 14, true, false, true});
  EXPECT_EQ(font.family(), QStringLiteral("DejaVu Serif"));
  EXPECT_EQ(font.pixelSize(), 19);
  EXPECT_TRUE(font.bold());
  EXPECT_FALSE(font.italic());
  EXPECT_TRUE(font.underline());
  EXPECT_FALSE(font.strikeOut());
  EXPECT_EQ(watermark_qfont({QStringLiteral("x"), 12, false, true, false, true}).pixelSize(), 16);
  EXPECT_TRUE(watermark_qfont({QStringLiteral("x"), 12, false, true, false, true}).italic());
  EXPECT_TRUE(watermark_qfont({QStringLiteral("x"), 12, false, true, false, true}).strikeOut());
}

TEST_F(TextWatermarkLayer, LineXByAlignment) {
  settings().text_padding = 4;
  EXPECT_EQ(line_x(30, 50), 4);
  settings().text_alignment = 1;
  EXPECT_EQ(line_x(30, 50), 10);
  EXPECT_EQ(line_x(30, 35), 3); // 2.5 rounds away from zero
  EXPECT_EQ(line_x(35, 30), -3);
  settings().text_alignment = 2;
  EXPECT_EQ(line_x(30, 50), 16);
}

TEST_F(TextWatermarkLayer, BoxIsTheWidestLineAndAllLinesWithLeadingPlusPadding) {
  Settings &s = settings();
  s.text_padding = 5;
  s.font_leading = 3;
  const QFont font = watermark_qfont(sans);
  const QSize first = raster_text_size(font, QStringLiteral("Ab"));
  const QSize second = raster_text_size(font, QStringLiteral("Abcdefgh"));
  EXPECT_EQ(layer("Ab%eol%Abcdefgh").size(),
            QSize(second.width() + 10, 2 * first.height() + 3 + 10));
  EXPECT_EQ(layer("Ab").size(), first + QSize(10, 10));
  s.text_antialiasing = 1;
  EXPECT_EQ(layer("Ab%eol%Abcdefgh").size(),
            QSize(second.width() + 10, 2 * first.height() + 3 + 10));
}

TEST_F(TextWatermarkLayer, SeparatorInAnyCaseGivesCentredLines) {
  settings().text_alignment = 1;
  settings().text_padding = 6;
  for (const char *text : {"Ab%EOL%Wide second line", "Ab%Eol%Wide second line"}) {
    const QImage image = layer(QString::fromLatin1(text));
    const int half = image.height() / 2;
    const auto [first_left, first_right] = ink_columns(image, 0, half);
    const auto [second_left, second_right] = ink_columns(image, half, image.height());
    ASSERT_LT(first_left, first_right) << text;
    EXPECT_NEAR(first_left + first_right, image.width(), 4) << text;
    EXPECT_NEAR(second_left + second_right, image.width(), 4) << text;
    EXPECT_GT(first_left, second_left + 20) << text;
  }
}

TEST_F(TextWatermarkLayer, RasterTextAndBackgroundKeepTheirOwnAlpha) {
  Settings &s = settings();
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

TEST_F(TextWatermarkLayer, VectorTextIsAntialiasedAndFadedByTheOpacities) {
  Settings &s = settings();
  s.text_antialiasing = 1;
  s.back_opacity = 0;
  s.text_opacity = 255;
  s.text_padding = 3;
  const QImage image = layer(QStringLiteral("Smooth"));
  int partial = 0;
  int solid = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const int alpha = qAlpha(image.pixel(x, y));
      partial += alpha > 0 && alpha < 255;
      solid += alpha == 255;
    }
  EXPECT_GT(partial, 20);
  EXPECT_GT(solid, 20);
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
  s.back_opacity = 255;
  s.text_opacity = 0;
  EXPECT_EQ(layer(QStringLiteral("Smooth")).pixel(10, 10), qRgba(255, 255, 255, 255));
}

TEST_F(TextWatermarkLayer, EmptyTextIsOnlyItsPadding) {
  EXPECT_TRUE(layer(QString()).isNull());
  settings().text_padding = 4;
  const QImage image = layer(QString());
  EXPECT_EQ(image.width(), 8);
  EXPECT_EQ(image.height(), raster_text_size(watermark_qfont(sans), QString()).height() + 8);
}

TEST_F(TextWatermarkLayer, TextTooLargeForMemoryGivesNoLayer) {
  EXPECT_TRUE(layer(QString(20000, QLatin1Char('W')), {sans.family, 400}).isNull());
}

TEST_F(TextWatermarkLayer, RasterRenderLooksLikeItsReference) {
  Settings &s = settings();
  s.font_color = QStringLiteral("FFE000");
  s.back_color = QStringLiteral("203080");
  s.text_padding = 6;
  s.font_leading = 2;
  s.text_alignment = 2;
  expect_like_reference(layer(QStringLiteral("Vantrel 2.2%EOL%raster watermark")),
                        QStringLiteral("raster_text.png"));
}

TEST_F(TextWatermarkLayer, VectorRenderLooksLikeItsReference) {
  Settings &s = settings();
  s.text_antialiasing = 1;
  s.font_color = QStringLiteral("C00000");
  s.back_color = QStringLiteral("F0F0E0");
  s.back_opacity = 200;
  s.text_padding = 8;
  s.text_alignment = 1;
  expect_like_reference(layer(QStringLiteral("Antialiased%eol%bold italic underlined"),
                              {sans.family, 16, true, true, true}),
                        QStringLiteral("vector_text.png"));
}

} // namespace
} // namespace lumbrix
