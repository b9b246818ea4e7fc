#include "engine/settings/settings.h"
#include "platform/font_families.h"
#include "platform/gui_app.h"
#include "support/psd_reader.h"
#include "support/run_binary.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QStringList>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

// Nothing is converted rather than every picture converted without its watermark.
TEST_F(WatermarkRun, WatermarkImageThatDoesNotDecodeIsRefusedBeforeConverting) {
  QImage mark(8, 8, QImage::Format_RGB32);
  mark.fill(qRgb(255, 0, 0));
  ASSERT_TRUE(mark.save(dir.filePath("mark.ppm"), "PPM")); // a picture of a kind not offered
  QStringList refused{dir.filePath("missing.png"), write("empty.png", {}),
                      write("notes.png", "plain text, not a picture"), dir.filePath("mark.ppm")};
  for (const char *format : {"PNG", "JPG"}) {
    QByteArray whole;
    QBuffer buffer(&whole);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && mark.save(&buffer, format));
    refused << write(format, whole.left(whole.size() / 2));
  }
  for (const QString &image : refused) {
    const test::RunResult run = convert({"--wm-image=" + image});
    EXPECT_EQ(run.exit_code, 1) << image.toStdString();
    EXPECT_EQ(run.lines.value(run.lines.size() - 1), "Error: Invalid watermark image");
    EXPECT_FALSE(QFile::exists(output()));
  }
}

// Each kind the image chooser offers is drawn, whatever the file is called.
TEST_F(WatermarkRun, BmpAndMisnamedWatermarkImagesAreDrawn) {
  QImage mark(16, 16, QImage::Format_RGB32);
  mark.fill(qRgb(255, 0, 0));
  ASSERT_TRUE(mark.save(dir.filePath("mark.bmp"), "BMP"));
  ASSERT_TRUE(mark.save(dir.filePath("mark-jpeg.png"), "JPG", 100));
  for (const char *name : {"mark.bmp", "mark-jpeg.png"}) {
    const test::RunResult run =
        convert({"--wm-image=" + dir.filePath(name), "--wm-image-position=TOPLEFT"});
    ASSERT_EQ(run.exit_code, 0) << name;
    test::PsdImage psd;
    ASSERT_TRUE(test::read_psd(output(), psd)) << name;
    EXPECT_GE(psd.at(0, 14, 14), 250) << name; // placed 10 pixels in
    EXPECT_LE(psd.at(2, 14, 14), 5) << name;
    EXPECT_EQ(psd.at(2, 40, 40), 200) << name;
  }
}

// The default font the system lacks is the system's sans-serif, as the window shows it; a font
// named on the command line stays as named, found or not.
TEST_F(WatermarkRun, MissingDefaultFontIsTheSystemsSansSerif) {
  ASSERT_TRUE(ensure_gui_application());
  if (font_installed(default_settings(SettingsUse::Console).font))
    GTEST_SKIP() << "the system has the default font";
  const QString sans = sans_serif_family();
  QString other;
  for (const QString &family : QFontDatabase::families())
    if (family != sans && other.isEmpty())
      other = family;
  const QString missing = QStringLiteral("No Such Family 7f3a");
  const struct {
    QStringList options;
    QString font;
  } cases[] = {{{}, sans}, {{"--wm-font=" + other}, other}, {{"--wm-font=" + missing}, missing}};
  for (const auto &c : cases) {
    const test::RunResult run = convert(QStringList{"-d", "--wm-text=x"} + c.options);
    ASSERT_EQ(run.exit_code, 0) << run.lines.join('|').toStdString();
    EXPECT_TRUE(run.lines.contains("Watermark font: " + c.font)) << c.font.toStdString();
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

// Three copies of one picture in one run: each is stamped with its own number.
TEST_F(WatermarkRun, CounterInTheTextWatermarkDiffersFromFileToFile) {
  const QString batch = dir.filePath("batch");
  ASSERT_TRUE(QDir().mkdir(batch));
  for (const char *name : {"a.png", "b.png", "c.png"})
    ASSERT_TRUE(QFile::copy(dir.filePath("in.png"), batch + "/" + name));
  const test::RunResult run = test::run_lumbrix(
      {"-i", batch, "-o", dir.filePath("out"), "--wm-text=%n%", "--wm-font=DejaVu Sans",
       "--wm-font-size=8", "--wm-font-color=FFFFFF", "--wm-text-position=TOPLEFT"});
  ASSERT_EQ(run.exit_code, 0) << run.lines.join('|').toStdString();
  std::vector<std::vector<std::uint8_t>> stamped;
  for (const char *name : {"a.psd", "b.psd", "c.psd"}) {
    test::PsdImage psd;
    ASSERT_TRUE(test::read_psd(dir.filePath("out/") + name, psd)) << name;
    stamped.push_back(psd.planes.at(0));
  }
  EXPECT_NE(stamped[0], stamped[1]);
  EXPECT_NE(stamped[1], stamped[2]);
  EXPECT_NE(stamped[0], stamped[2]);
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
