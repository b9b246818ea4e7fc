// Whole-program conversions read back by psd-tools and ImageMagick, readers that are not ours.
#include "support/independent_readers.h"
#include "support/paths.h"
#include "support/png_reference.h"
#include "support/run_binary.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>

namespace lumbrix::test {
namespace {

QByteArray bytes_of(const PngPixels &png) {
  return QByteArray(reinterpret_cast<const char *>(png.rgba.data()),
                    static_cast<qsizetype>(png.rgba.size()));
}

int sample(const QByteArray &bytes, qsizetype i) { return static_cast<std::uint8_t>(bytes[i]); }

// Pixels out of step between a reader's view and the picture: colour beyond within (every
// colour where picture_alpha says so), alpha different at all.
int differing(const QByteArray &seen, const QByteArray &picture, bool compare_colour, int within) {
  if (seen.size() != picture.size())
    return -1;
  int wrong = 0;
  for (qsizetype i = 0; i < picture.size(); i += 4) {
    bool off = sample(seen, i + 3) != sample(picture, i + 3);
    for (int c = 0; c < 3 && compare_colour; ++c)
      off = off || std::abs(sample(seen, i + c) - sample(picture, i + c)) > within;
    wrong += off;
  }
  return wrong;
}

int composite_off(const PsdToolsView &view) {
  int wrong = 0;
  for (qsizetype i = 0; i < view.layer.size(); i += 4) {
    const int alpha = sample(view.layer, i + 3);
    for (int c = 0; c < 3 && alpha >= 16; ++c)
      wrong += std::abs(sample(view.composite, i + c) - sample(view.layer, i + c)) >
               composite_tolerance(alpha);
  }
  return wrong;
}

bool transparent(const QByteArray &rgba) {
  for (qsizetype i = 3; i < rgba.size(); i += 4)
    if (sample(rgba, i) != 255)
      return true;
  return false;
}

class PsdReaders : public ::testing::Test {
protected:
  // Converts each input with the default settings into a folder of its own; the PSDs' paths.
  QStringList convert(const QStringList &inputs) {
    QStringList outputs;
    for (const QString &input : inputs) {
      const QString folder = dir.filePath(QString::number(outputs.size()));
      QDir().mkpath(folder);
      EXPECT_EQ(run_lumbrix({"-q", "-i", input, "-o", folder}).exit_code, 0) << input.toStdString();
      outputs << folder + QLatin1Char('/') + QFileInfo(input).completeBaseName() + ".psd";
    }
    return outputs;
  }

  QTemporaryDir dir;
};

// The layer holds the picture and its transparency; the composite matches it as far as a
// composite over white can; an opaque picture's merged image is its layer.
TEST_F(PsdReaders, EveryCorpusPictureIsOneLayerWithItsTransparency) {
  const QStringList inputs = corpus_pngs(CorpusPart::readable);
  const QStringList outputs = convert(inputs);
  const QList<PsdToolsView> views = read_with_psd_tools(outputs);
  const QList<QList<bool>> magick = magick_frame_alphas(outputs);
  ASSERT_EQ(views.size(), inputs.size());
  int transparent_files = 0;
  for (qsizetype i = 0; i < inputs.size(); ++i) {
    SCOPED_TRACE(inputs[i].toStdString());
    const PsdToolsView &view = views[i];
    PngPixels png;
    ASSERT_TRUE(decode_png_reference(inputs[i], png));
    EXPECT_EQ(view.warnings, 0);
    EXPECT_EQ(view.layers, 1);
    EXPECT_TRUE(view.layer_alpha);
    EXPECT_EQ(magick[i], (QList<bool>{true, true})); // the composite, then the layer
    // 16-bit colours are tone-mapped; their alpha is kept.
    EXPECT_EQ(differing(view.layer, bytes_of(png), png.bit_depth <= 8, 1), 0);
    if (transparent(view.layer)) {
      ++transparent_files;
      EXPECT_EQ(composite_off(view), 0);
    } else {
      EXPECT_TRUE(view.merged == view.layer);
    }
  }
  EXPECT_GT(transparent_files, 50);
}

// A logo: a red disc on a transparent 400 x 300 canvas.
TEST_F(PsdReaders, ALogoTakesAtMostTwiceTheBytesOfImageMagicksPsd) {
  const QString logo = dir.filePath("logo.png");
  const QString magick = dir.filePath("magick.psd");
  run_reader("convert", {"-size", "400x300", "xc:none", "-fill", "#e01010", "-draw",
                         "circle 200,150 200,60", logo});
  run_reader("convert", {logo, magick});
  ASSERT_TRUE(QFileInfo::exists(magick));
  const QStringList ours = convert({logo});
  const qint64 size = QFileInfo(ours.front()).size();
  EXPECT_GT(size, 0);
  EXPECT_LE(size, 2 * QFileInfo(magick).size());
}

} // namespace
} // namespace lumbrix::test
