// A conversion through every drawing stage, run to the end of the process. Built with
// LUMBRIX_SANITIZE, the program is checked by LeakSanitizer when it exits: a leak turns the exit
// status non-zero and is described on standard error. Leaks inside system libraries that the
// program cannot free are listed in tests/e2e/lsan.supp.
#include "support/paths.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix::test {
namespace {

struct Outcome {
  int exit_code = -1;
  QByteArray output; // UTF-16LE
  QByteArray errors;
};

Outcome run_checked(const QStringList &arguments) {
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("LSAN_OPTIONS"),
                     QStringLiteral("suppressions=") + source_dir() +
                         QStringLiteral("tests/e2e/lsan.supp:print_suppressions=0"));
  process.setProcessEnvironment(environment);
  process.start(binary_path(), arguments);
  Outcome outcome;
  if (!process.waitForFinished(600000)) {
    process.kill();
    process.waitForFinished();
    return outcome;
  }
  if (process.exitStatus() == QProcess::NormalExit)
    outcome.exit_code = process.exitCode();
  outcome.output = process.readAllStandardOutput();
  outcome.errors = process.readAllStandardError();
  return outcome;
}

QByteArray utf16(const QString &text) {
  return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

class Leaks : public ::testing::Test {
protected:
  void SetUp() override {
    QImage picture(96, 64, QImage::Format_ARGB32);
    picture.fill(qRgba(40, 120, 200, 180));
    ASSERT_TRUE(picture.save(dir.filePath("in.png"), "PNG"));
    QImage mark(24, 16, QImage::Format_RGB32);
    mark.fill(qRgb(250, 20, 20));
    ASSERT_TRUE(mark.save(dir.filePath("mark.jpg"), "JPG"));
    ASSERT_TRUE(mark.save(dir.filePath("mark.png"), "PNG"));
  }

  void expect_clean_run(const QStringList &options) {
    const Outcome run =
        run_checked(QStringList{"-i", dir.filePath("in.png"), "-o", dir.path(), "--fr-solid-left=4",
                                "--fr-solid-right=3", "--fr-solid-top=2", "--fr-solid-bottom=5",
                                "--fr-solid-left-color=FF0000", "--fr-solid-opacity=200"} +
                    options);
    EXPECT_EQ(run.exit_code, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.output.contains(utf16(QStringLiteral("Files converted: 1 of 1"))));
    EXPECT_FALSE(run.errors.contains("Sanitizer")) << run.errors.toStdString();
    EXPECT_TRUE(QFile::remove(dir.filePath("in.psd")));
  }

  QTemporaryDir dir;
};

TEST_F(Leaks, FrameAndTextWatermarkFreeEverything) {
  expect_clean_run({"--wm-text=%filename% %width%x%height%", "--wm-font=DejaVu Sans",
                    "--wm-font-color=FFFFFF", "--wm-back-color=000000", "--wm-back-opacity=128",
                    "--wm-text-rotation=30"});
}

TEST_F(Leaks, FrameAndImageWatermarksFreeEverything) {
  for (const char *mark : {"mark.jpg", "mark.png"}) {
    SCOPED_TRACE(mark);
    expect_clean_run({"--wm-image=" + dir.filePath(QLatin1String(mark)), "--wm-image-rotation=45",
                      "--wm-image-position=CENTER"});
  }
}

} // namespace
} // namespace lumbrix::test
