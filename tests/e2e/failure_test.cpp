// Whole-program runs against failing disks, vanishing folders and hostile inputs. Each test
// checks what is on disk afterwards: no half-written file under a final name, no temporary file
// left behind, an earlier result untouched, and no failure reported as success.
#include "support/child_run.h"
#include "support/hostile_paths.h"
#include "support/paths.h"
#include "support/png_reference.h"
#include "support/psd_reader.h"

#include <FreeImage.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumbrix::test {
namespace {

const QString converted_one = QStringLiteral("Files converted: 1 of 1");

// A file that fails is traced "Not OK" and named with its reason, which begins with reason; the
// run then ends "Conversion stopped", status 1.
void expect_failed(const ChildRun &run, const QString &file, const QString &reason) {
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(run.lines.contains("Not OK")) << run.lines.join('\n').toStdString();
  const QString line = run.lines.value(run.lines.size() - 2);
  EXPECT_TRUE(line.startsWith("Error: " + file + ": " + reason)) << line.toStdString();
  EXPECT_EQ(run.lines.value(run.lines.size() - 1), "Conversion stopped");
}

QByteArray read_all(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write_all(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A noisy RGBA picture, so that it takes a while to decode and cannot be mistaken for another.
bool write_noise_png(const QString &path, int width, int height, unsigned seed) {
  std::unique_ptr<FIBITMAP, decltype(&FreeImage_Unload)> image(
      FreeImage_Allocate(width, height, 32), &FreeImage_Unload);
  if (!image)
    return false;
  for (int y = 0; y < height; ++y) {
    BYTE *row = FreeImage_GetScanLine(image.get(), y);
    for (int x = 0; x < width * 4; ++x) {
      seed = seed * 1103515245u + 12345u;
      row[x] = static_cast<BYTE>(seed >> 24);
    }
  }
  return FreeImage_Save(FIF_PNG, image.get(), QFile::encodeName(path).constData(),
                        PNG_Z_BEST_SPEED) != 0;
}

bool is_complete_psd(const QString &path, int width, int height) {
  PsdImage psd;
  return read_psd(path, psd) && psd.width == width && psd.height == height && psd.channels == 4 &&
         psd.planes.size() == 4;
}

class Failure : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    input = path("photo.png");
    ASSERT_TRUE(QFile::copy(source_dir() + "samples/sample.png", input));
  }

  QString path(const QString &name) const { return dir.filePath(name); }
  QStringList files(const QString &folder) const {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
  }

  QTemporaryDir dir;
  QString input;
};

// Every failed file gets a line with its name and the reason, before the closing line.
TEST_F(Failure, EachFailurePrintsItsReason) {
  const QString text = path("notes.png");
  ASSERT_TRUE(write_all(text, "plain text, not a picture"));
  const QString wide = path("wide.png");
  ASSERT_TRUE(write_grey_png(wide, 30001, 1));
  const QString out = path("out");
  ASSERT_TRUE(QDir().mkpath(out + "/photo.psd"));
  const QString sealed = path("sealed");
  ASSERT_TRUE(QDir().mkdir(sealed));
  const bool read_only =
      mount("tmpfs", QFile::encodeName(sealed).constData(), "tmpfs", MS_RDONLY, "size=64k") == 0;
  const struct {
    QStringList arguments;
    QString line;
  } cases[] = {
      {{"-i", text}, text + ": not a PNG file"},
      {{"-i", wide}, wide + ": picture wider than 30000 pixels"},
      {{"-i", input, "--width=40000", "--height=10"},
       input + ": resized picture wider than 30000 pixels"},
      {{"-i", input, "-o", out}, input + ": cannot replace " + out + "/photo.psd: is a directory"},
      {{"-i", input, "-o", sealed},
       input + ": cannot write to " + sealed + ": read-only file system"},
  };
  for (const auto &c : cases) {
    if (c.arguments.contains(sealed) && !read_only)
      continue; // no read-only file system can be mounted here
    const ChildRun run = run_lumbrix_child(QStringList{"-q"} + c.arguments);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.lines, (QStringList{"Error: " + c.line, "Conversion stopped"}));
  }
  if (read_only)
    umount2(QFile::encodeName(sealed).constData(), MNT_DETACH);
  EXPECT_EQ(files(out), QStringList{"photo.psd"});
}

TEST_F(Failure, OutputFolderRemovedDuringTheRunFailsTheFile) {
  const QString big = path("big.png");
  ASSERT_TRUE(write_noise_png(big, 3000, 3000, 7));
  const QString out = path("out");
  ASSERT_TRUE(QDir().mkdir(out));
  ChildOptions options;
  options.on_line = [&](const QString &line) {
    if (line.startsWith(QLatin1String("Processing: ")))
      QDir(out).removeRecursively();
  };
  const ChildRun run = run_lumbrix_child({"-d", "-i", big, "-o", out}, options);
  expect_failed(run, big, "cannot create the folder " + out + "/");
  EXPECT_FALSE(QFileInfo::exists(out));
  EXPECT_EQ(files(dir.path()), (QStringList{"big.png", "photo.png"}));
}

// Uncompressed, the sample's PSD holds its 320 x 240 pixels twice, about 600 KB; the limit stops
// it a quarter of the way.
TEST_F(Failure, FileSizeLimitFailsTheFileAndKeepsTheEarlierPsd) {
  const QByteArray earlier("an earlier result that must survive");
  ASSERT_TRUE(write_all(path("photo.psd"), earlier));
  ChildOptions options;
  options.file_size_limit = 150000;
  const ChildRun run = run_lumbrix_child({"-d", "-i", input, "--PSD-COMPRESSION=NONE"}, options);
  expect_failed(run, input, "cannot write to " + dir.path() + ": file too large");
  EXPECT_EQ(read_all(path("photo.psd")), earlier);
  EXPECT_EQ(files(dir.path()), (QStringList{"photo.png", "photo.psd"}));
}

// A real full file system, where this process may mount one.
class FullDisk : public Failure {
protected:
  void SetUp() override {
    Failure::SetUp();
    disk = path("disk");
    ASSERT_TRUE(QDir().mkdir(disk));
    if (mount("tmpfs", QFile::encodeName(disk).constData(), "tmpfs", 0, "size=512k") != 0)
      GTEST_SKIP() << "cannot mount a tmpfs here";
    mounted = true;
  }
  void TearDown() override {
    if (mounted)
      umount2(QFile::encodeName(disk).constData(), MNT_DETACH);
  }

  QString disk;
  bool mounted = false;
};

TEST_F(FullDisk, FullDiskFailsTheFileKeepsTheEarlierPsdAndLeavesNoTemporaryFile) {
  const QByteArray earlier("an earlier result that must survive");
  const QString target = disk + "/photo.psd";
  ASSERT_TRUE(write_all(target, earlier));
  // About 100 KB free of 512 KB; the uncompressed PSD needs 600 KB.
  ASSERT_TRUE(write_all(disk + "/filler", QByteArray(400 * 1024, 'x')));
  const ChildRun run = run_lumbrix_child({"-d", "-i", input, "-o", disk, "--PSD-COMPRESSION=NONE"});
  expect_failed(run, input, "cannot write to " + disk + ": no space left on device");
  EXPECT_EQ(read_all(target), earlier);
  EXPECT_EQ(files(disk), (QStringList{"filler", "photo.psd"}));

  // With room again, the same run replaces the earlier file with a whole one.
  ASSERT_TRUE(QFile::remove(disk + "/filler"));
  const ChildRun again = run_lumbrix_child({"-q", "-i", input, "-o", disk});
  EXPECT_EQ(again.exit_code, 0);
  EXPECT_TRUE(is_complete_psd(target, 320, 240));
  EXPECT_EQ(files(disk), QStringList{"photo.psd"});
}

// Whatever happens to the input after the checks, the outcome is told truly: either a whole
// PSD of the picture that was checked, or a failure and no file.
TEST_F(Failure, InputChangedAfterTheChecksIsConvertedWhollyOrNotAtAll) {
  struct Change {
    const char *name;
    std::function<void(const QString &)> apply;
  };
  const Change changes[] = {
      {"removed", [](const QString &p) { QFile::remove(p); }},
      {"truncated", [](const QString &p) { QFile::resize(p, 100); }},
      {"fifo",
       [](const QString &p) {
         QFile::remove(p);
         mkfifo(QFile::encodeName(p).constData(), 0600);
       }},
  };
  for (const Change &change : changes) {
    SCOPED_TRACE(change.name);
    const QString picture = path(QStringLiteral("changing.png"));
    QFile::remove(picture);
    ASSERT_TRUE(write_noise_png(picture, 2000, 1500, 3));
    const QString out = path(QStringLiteral("out-") + QLatin1String(change.name));
    ASSERT_TRUE(QDir().mkdir(out));
    ChildOptions options;
    options.on_line = [&](const QString &line) {
      if (line.startsWith(QLatin1String("Processing: ")))
        change.apply(picture);
    };
    const ChildRun run = run_lumbrix_child({"-d", "-i", picture, "-o", out}, options);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.signal, 0);
    if (run.lines.contains(converted_one)) {
      EXPECT_TRUE(is_complete_psd(out + "/changing.psd", 2000, 1500));
      EXPECT_EQ(files(out), QStringList{"changing.psd"});
    } else {
      expect_failed(run, picture, QString()); // the reason depends on when the change came
      EXPECT_EQ(files(out), QStringList());
    }
  }
}

TEST_F(Failure, FifoDeviceAndFolderInputsAreRefusedWithoutWaiting) {
  const QString hostile = path("hostile");
  ASSERT_TRUE(QDir().mkdir(hostile));
  const QStringList inputs = make_non_regular_inputs(hostile, QStringLiteral("png"));
  ASSERT_EQ(inputs.size(), 3);
  for (const QString &name : inputs) {
    SCOPED_TRACE(name.toStdString());
    const ChildRun run = run_lumbrix_child({"-q", "-i", name, "-o", dir.path()});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.lines, QStringList{"Error: Invalid input file"});
    // The same paths as a watermark image: refused by the checks, never opened.
    const ChildRun marked = run_lumbrix_child({"-q", "-i", input, "--wm-image=" + name});
    ASSERT_TRUE(marked.finished);
    EXPECT_EQ(marked.exit_code, 1);
    EXPECT_FALSE(marked.lines.contains(converted_one));
  }
  EXPECT_EQ(files(dir.path()), (QStringList{"hostile", "photo.png"}));
}

// Folders nested until the path has the given length (at least base's own).
QString nested_folder(const QString &base, int length) {
  QString folder = base;
  while (folder.size() < length) {
    const int segment = std::min(200, length - static_cast<int>(folder.size()) - 1);
    folder += QLatin1Char('/') + QString(std::max(segment, 1), QLatin1Char('d'));
    if (!QDir().mkdir(folder))
      return QString();
  }
  return folder;
}

TEST_F(Failure, PathOfFourThousandCharactersConverts) {
  const QString folder = nested_folder(dir.path(), 4000 - 10);
  ASSERT_FALSE(folder.isEmpty());
  const QString long_input = folder + "/photo.png";
  ASSERT_EQ(long_input.size(), 4000);
  ASSERT_TRUE(QFile::copy(input, long_input));
  const ChildRun run = run_lumbrix_child({"-q", "-i", long_input});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(is_complete_psd(folder + "/photo.psd", 320, 240));
  EXPECT_EQ(files(folder), (QStringList{"photo.png", "photo.psd"}));
}

// The final name just fits the system's path limit, the longer temporary name beside it would
// not: the temporary file is named relative to its folder, so the file converts.
TEST_F(Failure, OutputPathAtTheSystemLimitConverts) {
  const QString folder = nested_folder(dir.path(), 4082);
  ASSERT_FALSE(folder.isEmpty());
  const ChildRun run = run_lumbrix_child({"-q", "-i", input, "-o", folder});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(is_complete_psd(folder + "/photo.psd", 320, 240));
  EXPECT_EQ(files(folder), QStringList{"photo.psd"});
}

// Four runs write photo.psd from different pictures, four write names of their own.
TEST_F(Failure, EightRunsAtOnceIntoOneFolderLeaveOnlyWholeFiles) {
  const QString out = path("out");
  ASSERT_TRUE(QDir().mkdir(out));
  struct Run {
    QString input;
    int width;
    int height;
  };
  std::vector<Run> runs;
  for (int i = 0; i < 8; ++i) {
    const QString folder = path(QStringLiteral("in%1").arg(i));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString name = i < 4 ? QStringLiteral("photo.png") : QStringLiteral("photo%1.png").arg(i);
    const Run run{folder + QLatin1Char('/') + name, 300 + 50 * i, 200 + 30 * i};
    ASSERT_TRUE(write_noise_png(run.input, run.width, run.height, static_cast<unsigned>(i)));
    runs.push_back(run);
  }
  std::vector<std::unique_ptr<QProcess>> processes;
  for (const Run &run : runs) {
    processes.push_back(std::make_unique<QProcess>());
    processes.back()->start(binary_path(), {"-q", "-i", run.input, "-o", out});
  }
  for (const auto &process : processes) {
    ASSERT_TRUE(process->waitForFinished(600000));
    EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process->exitCode(), 0);
  }
  QStringList expected{"photo.psd"};
  for (int i = 4; i < 8; ++i) {
    expected << QStringLiteral("photo%1.psd").arg(i);
    EXPECT_TRUE(is_complete_psd(out + QStringLiteral("/photo%1.psd").arg(i), runs[i].width,
                                runs[i].height));
  }
  EXPECT_EQ(files(out), expected);
  bool whole = false;
  for (int i = 0; i < 4; ++i)
    whole = whole || is_complete_psd(out + "/photo.psd", runs[i].width, runs[i].height);
  EXPECT_TRUE(whole) << "photo.psd is none of the four pictures";
}

// A mask that climbs out of the output folder, from the command line or from a shared profile,
// fails the file: the file beside the folder keeps its contents and nothing is written.
TEST_F(Failure, AMaskReachingOutOfTheOutputFolderWritesNothingThere) {
  ASSERT_TRUE(QDir().mkdir(path("docs")));
  ASSERT_TRUE(QDir().mkdir(path("out")));
  ASSERT_TRUE(write_all(path("docs/notes.txt"), "notes"));
  ASSERT_TRUE(write_all(path("shared.ini"), "[CLI]\r\n--FILENAME-MASK=../docs/notes.txt\r\n"));
  const QString separator =
      QStringLiteral(" from the file name mask holds a folder separator; it must be a file name "
                     "alone");
  const struct {
    QString option;
    QString name;
  } masks[] = {{"--filename-mask=../docs/notes.txt", "../docs/notes.txt"},
               {"--profile=" + path("shared.ini"), "../docs/notes.txt"},
               {"--filename-mask=..\\docs\\notes.txt", "..\\docs\\notes.txt"},
               {"--filename-mask=%filename%/x.psd", "photo/x.psd"}};
  for (const auto &[option, name] : masks) {
    SCOPED_TRACE(option.toStdString());
    const ChildRun run = run_lumbrix_child({"-d", "-i", input, "-o", path("out"), option});
    expect_failed(run, input, "the name");
    EXPECT_EQ(run.lines.value(run.lines.size() - 2),
              "Error: " + input + ": the name \"" + name + "\"" + separator);
    EXPECT_EQ(read_all(path("docs/notes.txt")), "notes");
    EXPECT_EQ(files(path("out")), QStringList());
  }
  EXPECT_EQ(files(dir.path()), (QStringList{"docs", "out", "photo.png", "shared.ini"}));
}

// Whether the temporary file has a name or not, the descriptor the program writes it through
// shows in /proc: a link to a file in the output folder.
bool writes_into(int pid, const QString &folder) {
  const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
  for (const QString &fd :
       descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
    const QByteArray link = QFile::encodeName(descriptors.filePath(fd));
    char target[4096];
    const ssize_t size = readlink(link.constData(), target, sizeof target);
    if (size > 0 && QFile::decodeName(QByteArray(target, size)).startsWith(folder + '/'))
      return true;
  }
  return false;
}

// Ended by a signal while the PSD is being written: no temporary file, the earlier PSD as it
// was, and the status of that signal. SIGKILL cannot be caught: nothing is left only because
// the file has no name until it is complete.
TEST_F(Failure, SignalsWhileWritingLeaveNoTemporaryFileAndTheEarlierPsd) {
  const QString big = path("big.png");
  ASSERT_TRUE(write_noise_png(big, 3000, 3000, 5));
  const QString out = path("out");
  ASSERT_TRUE(QDir().mkdir(out));
  const QByteArray earlier("an earlier result that must survive");
  ASSERT_TRUE(write_all(out + "/big.psd", earlier));
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGKILL}) {
    SCOPED_TRACE(signal_number);
    bool sent = false;
    ChildOptions options;
    options.on_tick = [&](int pid) {
      if (!sent && writes_into(pid, out))
        sent = kill(pid, signal_number) == 0;
    };
    const ChildRun run = run_lumbrix_child({"-d", "-i", big, "-o", out}, options);
    ASSERT_TRUE(run.finished);
    EXPECT_TRUE(sent);
    EXPECT_EQ(run.signal, signal_number);
    EXPECT_EQ(read_all(out + "/big.psd"), earlier);
    EXPECT_EQ(files(out), QStringList{"big.psd"});
  }
}

} // namespace
} // namespace lumbrix::test
