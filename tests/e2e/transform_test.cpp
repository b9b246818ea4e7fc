// Geometry, tone and colour options through the console front, checked on the PSDs written.
#include "support/psd_reader.h"
#include "support/run_binary.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <set>

namespace lumbrix::test {
namespace {

class Transform : public ::testing::Test {
protected:
  // A PNG drawn by ImageMagick: a gradient with a few shapes so every transform shows.
  QString make_png(const QString &name, int width, int height, const QString &type = "PNG32") {
    const QString path = dir.filePath(name);
    const QString size = QString("%1x%2").arg(width).arg(height);
    QProcess magick;
    magick.start("convert", {"-size", size, "gradient:#203080-#f0c040", "-fill", "#e04020",
                             "-draw", "rectangle 0,0 4,2", "-depth", "8", type + ":" + path});
    EXPECT_TRUE(magick.waitForFinished(60000));
    EXPECT_EQ(magick.exitCode(), 0);
    return path;
  }

  // Converts input with the options into a PSD named after tag, and reads it back.
  PsdImage convert(const QString &input, const QString &tag, QStringList options) {
    options = QStringList{"-q", "-i", input, "-o", dir.path(),
                          "--filename-mask=" + tag + ".%ext%"} +
              options;
    const RunResult result = run_lumbrix(options);
    EXPECT_EQ(result.exit_code, 0) << options.join(' ').toStdString() << "\n"
                                   << result.lines.join('\n').toStdString();
    PsdImage image;
    EXPECT_TRUE(read_psd(dir.filePath(tag + ".psd"), image)) << tag.toStdString();
    return image;
  }

  QTemporaryDir dir;
};

TEST_F(Transform, ResizeSizesFollowAspectUnitsAndType) {
  const QString wide = make_png("wide.png", 1000, 500);
  PsdImage image = convert(wide, "aspect", {"--width=300", "--height=900", "--keep-aspect-ratio"});
  EXPECT_EQ(image.width, 300);
  EXPECT_EQ(image.height, 150);

  const QString odd = make_png("odd.png", 101, 99);
  image = convert(odd, "percent",
                  {"--width=50", "--width-unit=percent", "--height=50", "--height-unit=PERCENT"});
  EXPECT_EQ(image.width, 50);
  EXPECT_EQ(image.height, 50);

  const QStringList large{"--width=800", "--height=600", "--resize-type=largeimages"};
  image = convert(make_png("small.png", 640, 480), "small", large);
  EXPECT_EQ(image.width, 640);
  EXPECT_EQ(image.height, 480);
  image = convert(make_png("strip.png", 1024, 300), "strip", large);
  EXPECT_EQ(image.width, 800);
  EXPECT_EQ(image.height, 600);
}

TEST_F(Transform, RotationTurnsPalettedImagesAndIgnoresAnglesOutsideOneTo359) {
  const QString paletted = make_png("paletted.png", 40, 30, "PNG8");
  const PsdImage plain = convert(paletted, "plain", {});
  const PsdImage turned = convert(paletted, "turned", {"--rotation=90"});
  EXPECT_EQ(turned.width, 30);
  EXPECT_EQ(turned.height, 40);
  // A quarter turn counter-clockwise: the top-right pixel becomes the top-left one.
  for (int c = 0; c < 3; ++c)
    EXPECT_EQ(turned.at(c, 0, 0), plain.at(c, 39, 0));
  for (const char *angle : {"--rotation=360", "--rotation=-90"}) {
    const PsdImage same = convert(paletted, "same", {angle});
    EXPECT_EQ(same.planes, plain.planes) << angle;
  }
}

TEST_F(Transform, BothFlipsEqualAHalfTurn) {
  const QString input = make_png("flip.png", 37, 21);
  const PsdImage flipped = convert(input, "flipped", {"--flip-horizontal", "--flip-vertical"});
  const PsdImage turned = convert(input, "turned", {"--rotation=180"});
  EXPECT_EQ(flipped.width, turned.width);
  EXPECT_EQ(flipped.planes, turned.planes);
}

TEST_F(Transform, GreyscaleThresholdGivesOnlyBlackAndWhite) {
  const QString input = make_png("grey.png", 64, 48);
  const PsdImage image = convert(input, "bw", {"--greyscale", "--threshold=128"});
  std::set<std::uint8_t> levels;
  for (int c = 0; c < 3; ++c)
    levels.insert(image.planes[static_cast<std::size_t>(c)].begin(),
                  image.planes[static_cast<std::size_t>(c)].end());
  EXPECT_EQ(levels, (std::set<std::uint8_t>{0, 255}));
  // Only the low eight bits of the level count: 300 is 44.
  EXPECT_EQ(convert(input, "t300", {"--greyscale", "--threshold=300"}).planes,
            convert(input, "t44", {"--greyscale", "--threshold=44"}).planes);
}

TEST_F(Transform, NeutralColourCorrectionLeavesRgbUnchanged) {
  const QString input = make_png("rgb.png", 50, 40, "PNG24");
  EXPECT_EQ(convert(input, "neutral", {"--brightness=0", "--contrast=0", "--gamma=1"}).planes,
            convert(input, "plain", {}).planes);
}

} // namespace
} // namespace lumbrix::test
