#include "engine/run/conversion_worker.h"
#include "platform/console.h"
#include "platform/files.h"
#include "support/paths.h"
#include "support/requests.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ctime>

namespace lumbrix {
namespace {

QString corpus(const char *name) { return test::corpus_dir() + QLatin1String(name); }

QByteArray contents(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Worker : public ::testing::Test {
protected:
  void SetUp() override {
    ignore_file_size_signal();
    request = test::psd_request(out.path() + QLatin1Char('/'));
  }

  void add_job(const QString &path) { request.files.push_back({path, QString()}); }

  RunResult run() { return run_conversion(request, progress); }

  QString out_path(const QString &name) const { return out.filePath(name); }
  QStringList out_files() const {
    return QDir(out.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
  }

  QTemporaryDir out;
  ConversionRequest request;
  ProgressRecord progress;
};

TEST_F(Worker, TracesThreeLinesPerFileInConsoleDebugMode) {
  QString lines;
  console_capture(&lines);
  request.trace = true;
  add_job(corpus("pngsuite/basn0g02.png"));
  add_job(corpus("testpngs/crashers/badcrc.png"));
  run();
  request.trace = false;
  run();
  console_capture(nullptr);
  const QString ok = corpus("pngsuite/basn0g02.png");
  const QString bad = corpus("testpngs/crashers/badcrc.png");
  EXPECT_EQ(lines, "Processing: " + ok + "\r\nSaving As: " + out_path("basn0g02.psd") +
                       "\r\nOK\r\nProcessing: " + bad + "\r\nSaving As: \r\nNot OK\r\n");
}

TEST_F(Worker, CountersAdvanceOnlyForWrittenFiles) {
  request.settings.filename_mask = QStringLiteral("%n%_%rnd%.%ext%");
  request.counters = {42, 1};
  add_job(corpus("pngsuite/basn0g02.png"));
  add_job(corpus("pngsuite/basn0g04.png"));
  add_job(corpus("testpngs/crashers/badadler.png"));
  const RunResult first = run();
  EXPECT_EQ(first.files_converted, 2);
  EXPECT_EQ(progress.files_converted, 2);
  EXPECT_EQ(progress.files_started, 3);
  EXPECT_EQ(progress.files_done, 3); // the failed file too
  EXPECT_EQ(progress.current_permille, 1000);
  EXPECT_EQ(first.counters.sequence, 3);
  const QStringList files = out_files();
  ASSERT_EQ(files.size(), 2);
  EXPECT_EQ(files[0], QStringLiteral("00001_00042.psd"));
  EXPECT_TRUE(files[1].startsWith(QLatin1String("00002_")));

  // A second run carries on from where the first stopped.
  request.files.clear();
  request.counters = first.counters;
  add_job(corpus("pngsuite/basn0g08.png"));
  EXPECT_EQ(run().counters.sequence, 4);
  EXPECT_EQ(out_files().filter(QRegularExpression(QStringLiteral("^00003_\\d{5}\\.psd$"))).size(),
            1);
}

TEST_F(Worker, StopsBeforeTheNextFileWhenToldTo) {
  add_job(corpus("pngsuite/basn0g02.png"));
  progress.keep_running = false;
  EXPECT_EQ(run().files_converted, 0);
  EXPECT_EQ(progress.files_started, 0);
  EXPECT_TRUE(out_files().isEmpty());
}

TEST_F(Worker, SetsTheFileTimeAsAsked) {
  QTemporaryDir in;
  const QString input = in.filePath(QStringLiteral("dated.png"));
  ASSERT_TRUE(QFile::copy(corpus("pngsuite/basn0g02.png"), input));
  const qint64 input_time = 981173106; // 2001-02-03 04:05:06 UTC
  ASSERT_TRUE(set_file_time(input, input_time));
  add_job(input);
  qint64 seconds = 0;

  request.settings.file_timestamp = TimestampKind::Original;
  run();
  ASSERT_TRUE(file_time(out_path(QStringLiteral("dated.psd")), seconds));
  EXPECT_EQ(seconds, input_time);

  // Custom Timestamp counts local wall-clock seconds: 2010-06-15 12:30:00 on the local clock.
  request.settings.file_timestamp = TimestampKind::Custom;
  request.settings.custom_timestamp = 1276605000;
  run();
  std::tm local{};
  local.tm_year = 110;
  local.tm_mon = 5;
  local.tm_mday = 15;
  local.tm_hour = 12;
  local.tm_min = 30;
  local.tm_isdst = -1;
  ASSERT_TRUE(file_time(out_path(QStringLiteral("dated.psd")), seconds));
  EXPECT_EQ(seconds, static_cast<qint64>(std::mktime(&local)));

  request.settings.file_timestamp = TimestampKind::Current;
  const qint64 before = QDateTime::currentSecsSinceEpoch();
  run();
  ASSERT_TRUE(file_time(out_path(QStringLiteral("dated.psd")), seconds));
  EXPECT_GE(seconds, before - 1);
}

// Side by side or one by one, the run gives every file the name and the bytes it gets alone.
TEST_F(Worker, ABatchEqualsTheFilesConvertedOneByOne) {
  const char *names[] = {"pngsuite/basn6a08.png",        "pngsuite/basn0g16.png",
                         "testpngs/crashers/badcrc.png", "pngsuite/basn3p04.png",
                         "pngsuite/basn2c16.png",        "pngsuite/ftbbn3p08.png"};
  for (const char *name : names)
    add_job(corpus(name));
  request.settings.filename_mask = QStringLiteral("%n%-%filename%.%ext%");
  request.counters = {7, 1};
  const RunResult batch = run();
  EXPECT_EQ(batch.files_converted, 5);
  EXPECT_EQ(batch.files[2].status, FileStatus::Failed);
  QTemporaryDir alone;
  NameCounters counters{7, 1};
  for (const InputFile &file : request.files) {
    ConversionRequest single = request;
    single.output_folder = alone.path() + QLatin1Char('/');
    const FileResult result = convert_file(single, file, counters);
    if (result.status != FileStatus::Converted)
      continue;
    counters = next_name_counters(counters);
    const QString name = QFileInfo(result.output_path).fileName();
    EXPECT_EQ(contents(out_path(name)), contents(result.output_path)) << name.toStdString();
  }
  EXPECT_EQ(batch.counters.sequence, counters.sequence);
  EXPECT_EQ(out_files().size(), 5);
}

// Two inputs that come to the same output name: the first is written, the second is named as
// failing, never written over it.
TEST_F(Worker, TwoFilesOfOneNameNeverOverwriteEachOther) {
  add_job(corpus("pngsuite/basn0g08.png"));
  add_job(corpus("pngsuite/basn2c08.png"));
  request.settings.filename_mask = QStringLiteral("same.%ext%");
  const RunResult result = run();
  ASSERT_EQ(result.files.size(), 2u);
  EXPECT_EQ(result.files[0].status, FileStatus::Converted);
  EXPECT_EQ(result.files[1].status, FileStatus::Failed);
  EXPECT_EQ(result.files[1].reason,
            "another file of this run is written as " + out_path(QStringLiteral("same.psd")));
  EXPECT_EQ(out_files(), QStringList{QStringLiteral("same.psd")});
  ConversionRequest single = request;
  single.files.pop_back();
  QTemporaryDir alone;
  single.output_folder = alone.path() + QLatin1Char('/');
  convert_file(single, single.files[0], single.counters);
  EXPECT_EQ(contents(out_path(QStringLiteral("same.psd"))),
            contents(alone.filePath(QStringLiteral("same.psd"))));
}

// New files are made durable together before the run counts them converted: a folder that
// cannot be synced by then (here gone) fails its files; one that can keeps them.
TEST_F(Worker, AFileThatCannotBeMadeDurableFails) {
  static QString doomed;
  add_job(corpus("pngsuite/basn0g08.png"));
  for (const bool remove : {false, true}) {
    doomed = out_path(remove ? QStringLiteral("doomed") : QStringLiteral("kept"));
    ASSERT_TRUE(QDir().mkpath(doomed));
    request.output_folder = doomed + QLatin1Char('/');
    request.step_observer = remove ? [](const char *step) {
      if (QByteArray(step) == "rename")
        QDir(doomed).removeRecursively();
    } : StepObserver{};
    const RunResult result = run();
    ASSERT_EQ(result.files.size(), 1u);
    EXPECT_EQ(result.files_converted, remove ? 0 : 1);
    EXPECT_EQ(result.files[0].status, remove ? FileStatus::Failed : FileStatus::Converted);
    EXPECT_EQ(result.files[0].reason.toStdString(),
              remove ? ("cannot write to " + doomed + ": no such file or directory").toStdString()
                     : "");
  }
}

} // namespace
} // namespace lumbrix
