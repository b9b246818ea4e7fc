// Whole-program runs over folders and lists of pictures: every file is accounted for, with its
// reason when it fails, and a stop leaves whole files only.
#include "support/child_run.h"
#include "support/crafted_png.h"
#include "support/paths.h"
#include "support/png_reference.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <png.h>

#include <csignal>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <thread>

namespace lumbrix::test {
namespace {

class Batch : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(in.isValid() && out.isValid());
    ASSERT_TRUE(QDir(in.path()).mkpath(QStringLiteral("sub")));
  }

  QString put(const QString &name, const QString &source) {
    const QString path = in.filePath(name);
    EXPECT_TRUE(QFile::copy(source, path));
    return path;
  }

  QString put_bytes(const QString &name, const QByteArray &bytes) {
    const QString path = in.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  // Every file below the output folder, relative to it.
  QStringList written() const {
    QStringList files;
    QDirIterator it(out.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
      files << QDir(out.path()).relativeFilePath(it.next());
    files.sort();
    return files;
  }

  // Every file below the input folder with its bytes.
  std::map<QString, QByteArray> inputs() const {
    std::map<QString, QByteArray> files;
    QDirIterator it(in.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
      QFile file(it.next());
      const QString name = QDir(in.path()).relativeFilePath(file.fileName());
      files[name] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    return files;
  }

  QTemporaryDir in;
  QTemporaryDir out;
};

// A text with {in} and {out} standing for the input and output folders.
QString expand(QString text, const QString &in, const QString &out) {
  return text.replace(QLatin1String("{in}"), in).replace(QLatin1String("{out}"), out);
}

TEST_F(Batch, AFolderConvertsItsGoodFilesAndNamesEveryOtherWithItsReason) {
  const QString sample = source_dir() + QStringLiteral("samples/sample.png");
  put(QStringLiteral("a.png"), sample);
  put(QStringLiteral("sub/b.png"), sample);
  const QString damaged =
      put(QStringLiteral("c.png"), corpus_dir() + QStringLiteral("testpngs/crashers/badcrc.png"));
  const QString text = put_bytes(QStringLiteral("d.png"), "a note, not a picture");
  const QString empty = put_bytes(QStringLiteral("e.png"), QByteArray());
  put_bytes(QStringLiteral("notes.txt"), "not taken: no picture extension");
  const ChildRun run = run_lumbrix_child({"-i", in.path(), "-o", out.path(), "--recursive"});
  EXPECT_EQ(run.exit_code, 1);
  for (const QString &line :
       {damaged + ": damaged PNG file", text + ": not a PNG file", empty + ": empty file"})
    EXPECT_TRUE(run.lines.contains("Error: " + line)) << line.toStdString();
  EXPECT_EQ(run.lines.mid(run.lines.size() - 2),
            (QStringList{"Conversion complete", "Files converted: 2 of 5"}));
  // Keep Subfolders mirrors the tree; nothing else is left in the output folder.
  EXPECT_EQ(written(), (QStringList{"a.psd", "sub/b.psd"}));
}

TEST_F(Batch, AListNamesItsFilesAndAllConvertedExitsZero) {
  const QString sample = source_dir() + QStringLiteral("samples/sample.png");
  const QString a = put(QStringLiteral("a.png"), sample);
  const QString b = put(QStringLiteral("sub/b.png"), sample);
  const QString list = put_bytes(QStringLiteral("list.txt"), (a + "\n\n" + b + "\n").toUtf8());
  const ChildRun run = run_lumbrix_child({"-q", "--input-list=" + list, "-o", out.path()});
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_TRUE(run.lines.isEmpty());
  EXPECT_EQ(written(), (QStringList{"a.psd", "b.psd"}));
}

// Whatever the mask, folder or sub-folder, an output never takes the place of one of the run's
// inputs, read yet or not: that file fails with its reason and every input keeps its bytes.
TEST_F(Batch, NoOutputReplacesAnInputOfTheRun) {
  struct Case {
    QStringList files;
    QStringList arguments;
    QString input;  // the file that fails
    QString output; // the name it was refused
  };
  const QString mask = QStringLiteral("--filename-mask=x%filename%.png");
  const Case cases[] = {
      {{"0big.png", "a.png", "xa.png"}, {"-i", "{in}", "-o", "{in}", mask}, "a.png", "{in}/xa.png"},
      {{"a.png", "xa.png"}, {"-i", "{in}", "-o", "{out}/link", mask}, "a.png", "{out}/link/xa.png"},
      {{"a.png", "sub/a.png"},
       {"-i", "{in}", "-o", "{in}/sub", "--recursive", "--filename-mask=%filename%.png"},
       "a.png",
       "{in}/sub/a.png"},
  };
  ASSERT_TRUE(QFile::link(in.path(), out.filePath("link")));
  for (const Case &c : cases) {
    ASSERT_TRUE(QDir(in.path()).removeRecursively() && QDir().mkpath(in.filePath("sub")));
    for (const QString &name : c.files)
      put(name, source_dir() + QStringLiteral("samples/sample.png"));
    const auto before = inputs();
    QStringList arguments;
    for (const QString &argument : c.arguments)
      arguments << expand(argument, in.path(), out.path());
    const ChildRun run = run_lumbrix_child(arguments);
    EXPECT_EQ(run.exit_code, 1) << c.output.toStdString();
    const QString line = "Error: " + in.filePath(c.input) + ": the output name " +
                         expand(c.output, in.path(), out.path()) + " is another input of this run";
    EXPECT_TRUE(run.lines.contains(line)) << run.lines.join('\n').toStdString();
    for (const auto &[name, bytes] : before)
      EXPECT_EQ(inputs()[name], bytes) << name.toStdString();
  }
}

// Two files of one name in two sub-folders are two outputs, not a clash.
TEST_F(Batch, SameNamesInTwoSubfoldersAreTwoOutputs) {
  const QString sample = source_dir() + QStringLiteral("samples/sample.png");
  ASSERT_TRUE(QDir(in.path()).mkpath("other"));
  put(QStringLiteral("sub/x.png"), sample);
  put(QStringLiteral("other/x.png"), sample);
  const ChildRun run = run_lumbrix_child({"-q", "-i", in.path(), "-o", out.path(), "--recursive"});
  EXPECT_EQ(run.exit_code, 0) << run.lines.join('\n').toStdString();
  EXPECT_EQ(written(), (QStringList{"other/x.psd", "sub/x.psd"}));
}

// A slow first file does not let the rest of a long batch pile up open files: under a small
// descriptor limit every file converts.
TEST_F(Batch, ALongBatchBehindASlowFileStaysWithinFewDescriptors) {
  ASSERT_TRUE(write_grey_png(in.filePath("0big.png"), 4000, 3000));
  for (int i = 0; i < 300; ++i)
    ASSERT_TRUE(write_grey_png(in.filePath(QStringLiteral("t%1.png").arg(i)), 8, 8));
  ChildOptions options;
  options.descriptor_limit = 64;
  const ChildRun run = run_lumbrix_child({"-i", in.path(), "-o", out.path()}, options);
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(run.lines.value(run.lines.size() - 1), "Files converted: 301 of 301")
      << run.lines.mid(0, 8).join('\n').toStdString();
}

// Under an address-space limit just above what one large file needs alone, a folder of such
// files converts them all, one after another: the batch's own threads leave the picture its room.
TEST_F(Batch, UnderAnAddressLimitThatFitsOneFileAFolderOfThemConvertsEveryFile) {
  if (qEnvironmentVariableIsSet("LUMBRIX_SKIP_LARGE"))
    GTEST_SKIP() << "LUMBRIX_SKIP_LARGE is set (sanitizers reserve more address space)";
  const QByteArray png = zero_png(4000, 3000, 8, PNG_COLOR_TYPE_RGB_ALPHA, 3000);
  const QString first = put_bytes("a.png", png);
  const auto converts_alone = [&](long long megabytes) {
    ChildOptions options;
    options.address_space_limit = megabytes << 20;
    return run_lumbrix_child({"-i", first, "-o", out.path()}, options).exit_code == 0;
  };
  // The smallest limit, to 16 MB, under which the file converts alone.
  long long low = 64;
  long long high = 2048;
  ASSERT_TRUE(converts_alone(high));
  while (high - low > 16) {
    const long long middle = (low + high) / 2;
    (converts_alone(middle) ? high : low) = middle;
  }
  for (const char *name : {"b.png", "c.png", "d.png"})
    put_bytes(QString::fromLatin1(name), png);
  ChildOptions options;
  options.address_space_limit = (high + 16) << 20;
  const ChildRun run = run_lumbrix_child({"-i", in.path(), "-o", out.path()}, options);
  EXPECT_EQ(run.exit_code, 0) << run.lines.join('\n').toStdString();
  EXPECT_EQ(run.lines.value(run.lines.size() - 1), "Files converted: 4 of 4");
}

// A list read from a pipe, a list with a line holding a NUL byte and an empty list: each says
// what became of it.
TEST_F(Batch, ListsFromStreamsAndTheirBadLines) {
  struct Case {
    const char *name;
    QByteArray list; // {good} stands for a picture's path
    bool fifo;
    int exit_code;
    QString line; // expected among the output; {list} stands for the list's path
    QStringList written;
  };
  const Case cases[] = {
      {"pipe", "{good}\n", true, 0, "Files converted: 1 of 1", {"good.psd"}},
      {"nul",
       QByteArray("{in}/a.png") + '\0' + "x.png\n{good}\n",
       false,
       1,
       "Error: {in}/a.png\\0x.png: the list's line holds a NUL byte",
       {"good.psd"}},
      {"empty", "\n  \n", false, 1, "Error: Invalid input list: the list {list} is empty", {}},
  };
  const QString good = put(QStringLiteral("good.png"), source_dir() + "samples/sample.png");
  put(QStringLiteral("a.png"), source_dir() + "samples/sample.png");
  for (const Case &c : cases) {
    ASSERT_TRUE(QDir(out.path()).removeRecursively() && QDir().mkpath(out.path()));
    const QString list = in.filePath(QString::fromLatin1(c.name));
    QByteArray bytes = c.list;
    bytes.replace("{good}", good.toUtf8()).replace("{in}", in.path().toUtf8());
    std::thread writer;
    if (c.fifo) {
      ASSERT_EQ(::mkfifo(QFile::encodeName(list).constData(), 0600), 0);
      writer = std::thread([&] {
        QFile pipe(list);
        if (pipe.open(QIODevice::WriteOnly))
          pipe.write(bytes);
      });
    } else {
      put_bytes(QString::fromLatin1(c.name), bytes);
    }
    const ChildRun run = run_lumbrix_child({"--input-list=" + list, "-o", out.path()});
    if (writer.joinable()) {
      // A run that never opened the pipe leaves the writer waiting for a reader.
      const int unblock = ::open(QFile::encodeName(list).constData(), O_RDONLY | O_NONBLOCK);
      writer.join();
      ::close(unblock);
    }
    EXPECT_EQ(run.exit_code, c.exit_code) << c.name;
    const QString line = expand(c.line, in.path(), out.path()).replace("{list}", list);
    EXPECT_TRUE(run.lines.contains(line)) << c.name << ": " << run.lines.join('\n').toStdString();
    EXPECT_EQ(written(), c.written) << c.name;
  }
}

// SIGINT part way: the file done stays, the one in progress leaves nothing, the rest are named
// as not converted, and the program ends as the signal ends it.
TEST_F(Batch, AnInterruptStopsCleanly) {
  QStringList inputs;
  for (int i = 0; i < 4; ++i) {
    inputs << in.filePath(QStringLiteral("big%1.png").arg(i));
    ASSERT_TRUE(write_grey_png(inputs.last(), 6000, 4000));
  }
  ChildOptions options;
  int processing = 0;
  options.signal_on_line = [&](const QString &line) {
    return line.startsWith(QLatin1String("Processing: ")) && ++processing == 2 ? SIGINT : 0;
  };
  const ChildRun run = run_lumbrix_child({"-d", "-i", in.path(), "-o", out.path()}, options);
  EXPECT_EQ(run.signal, SIGINT);
  EXPECT_EQ(written(), QStringList{"big0.psd"});
  for (int i = 1; i < 4; ++i)
    EXPECT_TRUE(run.lines.contains("Error: " + inputs[i] + ": not converted, the run was stopped"))
        << i;
}

} // namespace
} // namespace lumbrix::test
