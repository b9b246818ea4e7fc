// Whole-program runs over folders and lists of pictures: every file is accounted for, with its
// reason when it fails, and a stop leaves whole files only.
#include "support/child_run.h"
#include "support/paths.h"
#include "support/png_reference.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

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

  QTemporaryDir in;
  QTemporaryDir out;
};

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
