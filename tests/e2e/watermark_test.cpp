#include "support/psd_reader.h"
#include "support/run_binary.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// Console runs: the stages run on the worker thread, fonts come from the offscreen application
// the console front creates.
class WatermarkRun : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(QDir(dir.path()).mkdir("out"));
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(qRgb(40, 120, 200));
    ASSERT_TRUE(picture.save(dir.filePath("in.png"), "PNG"));
  }

  test::RunResult convert(const QStringList &options) const {
    return test::run_lumbrix(QStringList{"-i", dir.filePath("in.png"), "-o", dir.filePath("out")} +
                             options);
  }

  QString write(const char *name, const QByteArray &bytes) const {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  QString output() const { return dir.filePath("out/in.psd"); }

  QTemporaryDir dir;
};

TEST_F(WatermarkRun, MissingOrEmptyWatermarkImageIsRefusedBeforeConverting) {
  for (const QString &image : {dir.filePath("missing.png"), write("empty.png", {})}) {
    const test::RunResult run = convert({"--wm-image=" + image});
    EXPECT_TRUE(run.lines.contains("Error: Invalid watermark image"));
    EXPECT_FALSE(QFile::exists(output()));
  }
}

TEST_F(WatermarkRun, TruncatedWatermarkImagesLeaveThePictureToConvert) {
  QImage mark(32, 32, QImage::Format_RGB32);
  mark.fill(qRgb(255, 0, 0));
  for (const char *format : {"PNG", "JPG"}) {
    ASSERT_TRUE(mark.save(dir.filePath("whole"), format));
    QFile whole(dir.filePath("whole"));
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const test::RunResult run = convert({"--wm-image=" + write("cut", bytes.left(bytes.size() / 2)),
                                         "--wm-image-position=TOPLEFT"});
    EXPECT_EQ(run.exit_code, 0) << format;
    test::PsdImage psd;
    ASSERT_TRUE(test::read_psd(output(), psd)) << format;
    EXPECT_EQ(psd.at(0, 12, 12), 40) << format;
    EXPECT_EQ(psd.at(2, 12, 12), 200) << format;
  }
}

TEST_F(WatermarkRun, FrameAndTextWatermarkAreDrawn) {
  const test::RunResult run =
      convert({"--fr-solid-left=4", "--fr-solid-left-color=FF0000", "--wm-text=Hi",
               "--wm-font=DejaVu Sans", "--wm-font-color=FFFFFF", "--wm-back-color=000000",
               "--wm-back-opacity=255", "--wm-text-position=TOPLEFT", "--wm-text-x-offset=20"});
  ASSERT_EQ(run.exit_code, 0) << run.lines.join('|').toStdString();
  test::PsdImage psd;
  ASSERT_TRUE(test::read_psd(output(), psd));
  EXPECT_EQ(psd.at(0, 1, 30), 255); // frame
  EXPECT_EQ(psd.at(2, 19, 10), 200);
  EXPECT_EQ(psd.at(2, 20, 10), 0); // box background
  int white = 0;
  for (int y = 10; y < 48; ++y)
    for (int x = 20; x < 64; ++x)
      white += psd.at(0, x, y) == 255 && psd.at(1, x, y) == 255;
  EXPECT_GT(white, 10);
}

// Under cron there is no XDG_RUNTIME_DIR, and Qt says so when the offscreen platform starts.
TEST_F(WatermarkRun, QuietTextWatermarkRunPrintsNothingWithoutARuntimeDirectory) {
  const QByteArray runtime_dir = qgetenv("XDG_RUNTIME_DIR");
  qunsetenv("XDG_RUNTIME_DIR");
  const test::RunResult run = convert({"-q", "--wm-text=Hi"});
  if (!runtime_dir.isNull())
    qputenv("XDG_RUNTIME_DIR", runtime_dir);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(run.raw.isEmpty()) << run.lines.join('|').toStdString();
  EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
  EXPECT_TRUE(QFile::exists(output()));
}

} // namespace
} // namespace lumbrix
