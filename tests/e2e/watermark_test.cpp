#include "support/psd_reader.h"
#include "support/run_binary.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// Console runs with a frame or a watermark: the stages run on the worker thread, the text
// watermark's fonts come from the offscreen application the console front creates.
class WatermarkRun : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(qRgb(40, 120, 200));
    ASSERT_TRUE(picture.save(input(), "PNG"));
  }

  QString input() const { return dir.filePath("in.png"); }
  QString output() const { return dir.filePath("out/in.psd"); }

  test::RunResult convert(QStringList options) const {
    options.prepend(dir.filePath("out"));
    options.prepend("-o");
    options.prepend(input());
    options.prepend("-i");
    return test::run_lumbrix(options);
  }

  QString write(const char *name, const QByteArray &bytes) const {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  // Every pixel of the written PSD is the input's colour.
  void expect_unmarked_output() const {
    test::PsdImage psd;
    ASSERT_TRUE(test::read_psd(output(), psd));
    for (int y = 0; y < psd.height; ++y)
      for (int x = 0; x < psd.width; ++x)
        ASSERT_TRUE(psd.at(0, x, y) == 40 && psd.at(1, x, y) == 120 && psd.at(2, x, y) == 200)
            << x << "," << y;
  }

  QTemporaryDir dir;
};

TEST_F(WatermarkRun, MissingOrEmptyWatermarkImageIsRefusedBeforeConverting) {
  for (const QString &image : {dir.filePath("missing.png"), write("empty.png", {})}) {
    const test::RunResult run = convert({"--wm-image=" + image});
    EXPECT_TRUE(run.lines.contains("Error: Invalid watermark image"))
        << run.lines.join('|').toStdString();
    EXPECT_FALSE(QFile::exists(output()));
  }
}

TEST_F(WatermarkRun, DamagedWatermarkImagesLeaveThePictureToConvert) {
  QImage mark(32, 32, QImage::Format_RGB32);
  mark.fill(qRgb(255, 0, 0));
  ASSERT_TRUE(mark.save(dir.filePath("whole.png"), "PNG"));
  ASSERT_TRUE(mark.save(dir.filePath("whole.jpg"), "JPG"));
  for (const auto &[whole_name, cut_name] :
       {std::pair{"whole.png", "cut.png"}, std::pair{"whole.jpg", "cut.jpg"}}) {
    QFile whole(dir.filePath(whole_name));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const QString cut = write(cut_name, bytes.left(bytes.size() / 2));
    QFile::remove(output());
    const test::RunResult run = convert({"--wm-image=" + cut, "--wm-image-position=TOPLEFT"});
    EXPECT_EQ(run.exit_code, 0) << cut_name;
    EXPECT_TRUE(run.lines.contains("Files converted: 1 of 1")) << cut_name;
    expect_unmarked_output();
  }
}

TEST_F(WatermarkRun, FrameAndTextWatermarkAreDrawn) {
  const test::RunResult run = convert(
      {"--fr-solid-left=4", "--fr-solid-left-color=FF0000", "--wm-text=Hi", "--wm-font=DejaVu Sans",
       "--wm-font-color=FFFFFF", "--wm-back-color=000000", "--wm-back-opacity=255",
       "--wm-text-position=TOPLEFT", "--wm-text-x-offset=20", "--wm-text-y-offset=10"});
  ASSERT_EQ(run.exit_code, 0) << run.lines.join('|').toStdString();
  test::PsdImage psd;
  ASSERT_TRUE(test::read_psd(output(), psd));
  EXPECT_EQ(psd.at(0, 1, 30), 255);
  EXPECT_EQ(psd.at(2, 1, 30), 0);
  EXPECT_EQ(psd.at(2, 10, 30), 200);
  // The box's top-left corner is background.
  EXPECT_EQ(psd.at(0, 20, 10), 0);
  EXPECT_EQ(psd.at(2, 20, 10), 0);
  EXPECT_EQ(psd.at(2, 19, 10), 200);
  int white = 0;
  for (int y = 10; y < 48; ++y)
    for (int x = 20; x < 64; ++x)
      white += psd.at(0, x, y) == 255 && psd.at(1, x, y) == 255;
  EXPECT_GT(white, 10);
}

} // namespace
} // namespace lumbrix
