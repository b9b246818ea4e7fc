// Whole-program runs of the console front: exit status, output lines and files on disk.
#include "support/paths.h"
#include "support/png_reference.h"
#include "support/psd_reader.h"
#include "support/run_binary.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix::test {
namespace {

class Console : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    input = dir.filePath(QStringLiteral("photo.png"));
    ASSERT_TRUE(QFile::copy(source_dir() + "samples/sample.png", input));
  }

  QString path(const QString &name) const { return dir.filePath(name); }
  QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

  QTemporaryDir dir;
  QString input;
};

TEST_F(Console, VersionAndHelpExitZeroAndWriteUtf16WithCrLf) {
  const RunResult version = run_lumbrix({QStringLiteral("-v")});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.raw, QByteArray("2\0.\0"
                                    "2\0\r\0\n\0",
                                    10));
  const RunResult help = run_lumbrix({QStringLiteral("-?")});
  EXPECT_EQ(help.exit_code, 0);
  ASSERT_EQ(help.lines.size(), 39);
  EXPECT_EQ(help.lines[1], "Usage: lumbrix -i <filename> [options]");
  EXPECT_TRUE(help.lines[38].startsWith("  --progress=WORD ")) << help.lines[38].toStdString();
  EXPECT_EQ(help.lines[5], "  lumbrix -i c:\\tmp\\example.png -o d:\\converted");
}

// LUMBRIX_OUTPUT_ENCODING=UTF-8 gives the same lines, CR LF and all, as UTF-8; any other value
// keeps UTF-16LE.
TEST_F(Console, OutputEncodingVariableSwitchesRedirectedOutputToUtf8) {
  const QByteArray utf16 = run_lumbrix({"-h"}).raw;
  const QString text =
      QString::fromUtf16(reinterpret_cast<const char16_t *>(utf16.constData()), utf16.size() / 2);
  ASSERT_TRUE(text.contains("--width") && text.endsWith("\r\n"));
  const struct {
    const char *value;
    QByteArray expected;
  } cases[] = {{"UTF-8", text.toUtf8()}, {"utf8", text.toUtf8()}, {"UTF-16", utf16}, {"", utf16}};
  for (const auto &c : cases) {
    qputenv("LUMBRIX_OUTPUT_ENCODING", c.value);
    EXPECT_EQ(run_lumbrix({"-h"}).raw, c.expected) << c.value;
  }
  qunsetenv("LUMBRIX_OUTPUT_ENCODING");
}

TEST_F(Console, OptionErrorsExitOneWithoutBanner) {
  const RunResult result = run_lumbrix({QStringLiteral("-i")});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.lines, QStringList{"Error: Incorrect number of parameters"});
}

TEST_F(Console, DebugRunPrintsTheSettingsEchoAndTraceInOrder) {
  const RunResult result = run_lumbrix({"-d", "-i", input, "-o", dir.path()});
  EXPECT_EQ(result.exit_code, 0);
  const QString folder = dir.path() + "/";
  const QStringList expected{"Vantrel PNG to PSD 2.2",
                             "Copyright (c) 2026 Vantrel. All rights reserved.",
                             "https://www.vantrel.example",
                             " ",
                             "Preparing...",
                             "Input: " + input,
                             "Output: " + dir.path(),
                             "Conversion: psd",
                             "PSD BPP: 0",
                             "PSD Layers: 1",
                             "PSD Compression: RLE",
                             "Flip Horizontal: 0",
                             "Flip Vertical: 0",
                             "Greyscale: 0",
                             "Frame: NONE",
                             "Watermark: NONE",
                             "Filename Mask: %filename%.%ext%",
                             "File Timestamp: CURRENT",
                             "Keep Subfolders: 1",
                             "Importing...",
                             "Import complete, new files added: 1",
                             "Converting...",
                             "Processing: " + input,
                             "Saving As: " + folder + "photo.psd",
                             "OK",
                             "Conversion complete",
                             "Files converted: 1 of 1"};
  EXPECT_EQ(result.lines, expected);
  EXPECT_EQ(files(), (QStringList{"photo.png", "photo.psd"}));
}

TEST_F(Console, QuietRunsPrintOnlyFailures) {
  RunResult result = run_lumbrix({"-q", "-i", input});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_TRUE(result.lines.isEmpty()) << result.lines.join('|').toStdString();
  EXPECT_TRUE(QFileInfo::exists(path("photo.psd")));

  QFile::copy(source_dir() + "README.md", path("notes.txt"));
  result = run_lumbrix({"-q", "-i", path("notes.txt")});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.lines, (QStringList{"Conversion stopped",
                                       "No input file(s) found. Please, add valid file(s) and "
                                       "try again!"}));
}

TEST_F(Console, ChecksFailInOrderWithExitOne) {
  QFile empty(path("empty.png"));
  ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
  empty.close();
  QDir(dir.path()).mkdir("dir.x");
  struct Case {
    QStringList args;
    QString line;
  };
  const Case cases[] = {
      {{"-i", dir.path() + "/noext"}, "Error: Invalid input file"},
      {{"-i", dir.path() + "/dir.x/file"}, "Error: Invalid input file"},
      {{"-i", path("missing.png")}, "Error: Invalid input file"},
      {{"-i", path("empty.png")}, "Error: Invalid input file"},
      {{"-i", input, "-o", "../out"}, "Error: Incorrect output folder"},
      {{"-i", input, "-o", path("nowhere")}, "Error: Invalid output folder"},
      {{"-i", input, "-c", "PSD"}, "Error: Invalid conversion type"},
      {{"-i", input, "--psd-bpp=24"}, "Error: Invalid psd-bpp value"},
      {{"-i", input, "--width=640"}, "Error: Invalid height value"},
      {{"-i", input, "--height=640"}, "Error: Invalid width value"},
      {{"-i", input, "--brightness=101"}, "Error: Invalid brightness value"},
      {{"-i", input, "--contrast=-101"}, "Error: Invalid contrast value"},
      {{"-i", input, "--gamma=10"}, "Error: Invalid gamma value"},
      {{"-i", input, "--gamma=nan"}, "Error: Invalid gamma value"},
      {{"-i", input, "--wm-text=x", "--wm-font-size=0"}, "Error: Invalid watermark font"},
      {{"-i", input, "--wm-image=" + path("missing.png")}, "Error: Invalid watermark image"},
  };
  for (const Case &c : cases) {
    const RunResult result = run_lumbrix(QStringList{"-q"} + c.args);
    EXPECT_EQ(result.exit_code, 1) << c.args.join(' ').toStdString();
    EXPECT_EQ(result.lines, QStringList{c.line}) << c.args.join(' ').toStdString();
  }
  EXPECT_EQ(files(), (QStringList{"empty.png", "photo.png"}));
}

TEST_F(Console, BoundaryValuesPass) {
  for (const char *option : {"--gamma=0.01", "--gamma=9.99", "--brightness=-100", "--psd-bpp=32",
                             "--psd-bpp=64", "--psd-bpp=0", "-c psd"}) {
    QStringList args{"-q", "-i", input};
    args += QString::fromLatin1(option).split(' ');
    const RunResult result = run_lumbrix(args);
    EXPECT_EQ(result.exit_code, 0) << option << " " << result.lines.join('|').toStdString();
  }
}

// Relative paths are the current folder's; without -o the PSD goes beside its input. A missing
// output folder is made only when asked for.
TEST_F(Console, RelativePathsAreResolvedAgainstTheCurrentFolder) {
  ASSERT_TRUE(QDir(dir.path()).mkpath("out"));
  ASSERT_TRUE(QDir(dir.path()).mkpath("sub"));
  ASSERT_TRUE(QFile::copy(input, path("sub/photo.png")));
  const QString create = "--create-output-folder";
  const struct {
    QStringList args;
    QString written; // empty: the run fails
  } cases[] = {
      {{"-i", "photo.png", "-o", "out"}, "out/photo.psd"},
      {{"-i", "./photo.png", "-o", "./out/"}, "out/photo.psd"},
      {{"-i", "photo.png"}, "photo.psd"},
      {{"-i", "sub/photo.png"}, "sub/photo.psd"},
      {{"-i", "photo.png", "-o", "new/deeper", create}, "new/deeper/photo.psd"},
      {{"-i", "photo.png", "-o", "missing"}, ""},
      {{"-i", "photo.png", "-o", "photo.png/x", create}, ""},
  };
  for (const auto &c : cases) {
    const RunResult result = run_lumbrix(QStringList{"-q"} + c.args, dir.path());
    const QString args = c.args.join(' ');
    EXPECT_EQ(result.exit_code, c.written.isEmpty() ? 1 : 0) << args.toStdString();
    if (!c.written.isEmpty())
      EXPECT_TRUE(QFile::remove(path(c.written))) << args.toStdString();
    else
      EXPECT_EQ(result.lines, QStringList{"Error: Invalid output folder"}) << args.toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(path("missing")));
}

TEST_F(Console, ConvertedPsdHoldsThePngPixels) {
  const RunResult result =
      run_lumbrix({"-q", "-i", input, "--filename-mask=Out_%filename[u]%_%n%.%ext%"});
  ASSERT_EQ(result.exit_code, 0);
  const QString psd = path("out_PHOTO_00001.psd");
  PsdImage image;
  ASSERT_TRUE(read_psd(psd, image));
  EXPECT_EQ(image.width, 320);
  EXPECT_EQ(image.height, 240);
  EXPECT_EQ(image.channels, 4);
  PngPixels png;
  ASSERT_TRUE(decode_png_reference(input, png));
  for (int y = 0; y < png.height; ++y) {
    for (int x = 0; x < png.width; ++x) {
      const std::size_t at = (static_cast<std::size_t>(y) * png.width + x) * 4;
      for (int c = 0; c < 4; ++c)
        ASSERT_EQ(image.at(c, x, y), png.rgba[at + c]) << x << "," << y << " channel " << c;
    }
  }
}

TEST_F(Console, FileTimestampCopiesTheInputsOrSetsTheCustomTime) {
  QFile png(input);
  ASSERT_TRUE(png.open(QIODevice::ReadWrite));
  const QDateTime old_time = QDateTime::fromSecsSinceEpoch(1500000000);
  ASSERT_TRUE(png.setFileTime(old_time, QFileDevice::FileModificationTime));
  png.close();
  ASSERT_EQ(run_lumbrix({"-q", "-i", input, "--file-timestamp=original"}).exit_code, 0);
  EXPECT_EQ(QFileInfo(path("photo.psd")).lastModified().toSecsSinceEpoch(), 1500000000);

  // The custom time is a local wall-clock time written as seconds since 1970.
  const qint64 wall = 1600000000;
  const QDateTime local(QDateTime::fromSecsSinceEpoch(wall, Qt::UTC).date(),
                        QDateTime::fromSecsSinceEpoch(wall, Qt::UTC).time());
  ASSERT_EQ(run_lumbrix({"-q", "-i", input, "--file-timestamp=custom",
                         "--file-timestamp-custom=" + QString::number(wall)})
                .exit_code,
            0);
  EXPECT_EQ(QFileInfo(path("photo.psd")).lastModified().toSecsSinceEpoch(),
            local.toSecsSinceEpoch());
}

TEST_F(Console, ASecondRunReplacesThePsdAndAFailedOneKeepsIt) {
  ASSERT_EQ(run_lumbrix({"-q", "-i", input}).exit_code, 0);
  const QString psd = path("photo.psd");
  PsdImage first;
  ASSERT_TRUE(read_psd(psd, first));

  // Same name, other picture: the PSD is replaced.
  ASSERT_EQ(run_lumbrix({"-q", "-i", input, "--flip-vertical"}).exit_code, 0);
  PsdImage second;
  ASSERT_TRUE(read_psd(psd, second));
  EXPECT_NE(first.planes, second.planes);

  // A damaged input under the same name: nothing is replaced and nothing is left behind.
  QFile saved(psd);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  const QByteArray before = saved.readAll();
  saved.close();
  QFile png(input);
  ASSERT_TRUE(png.open(QIODevice::ReadWrite));
  png.resize(png.size() / 2);
  png.close();
  const RunResult failed = run_lumbrix({"-q", "-i", input});
  EXPECT_EQ(failed.exit_code, 1);
  ASSERT_EQ(failed.lines.size(), 2);
  EXPECT_TRUE(failed.lines[0].startsWith("Error: " + input + ": damaged PNG file: its IDAT chunk"));
  EXPECT_EQ(failed.lines[1], "Conversion stopped");
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), before);
  EXPECT_EQ(files(), (QStringList{"photo.png", "photo.psd"}));
}

TEST_F(Console, NonAsciiPathsConvert) {
  const QString folder = path(QString::fromUtf8("Fotos \u00e4 \u5199\u771f"));
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString named = folder + QString::fromUtf8("/Bild \u00fc.png");
  ASSERT_TRUE(QFile::copy(input, named));
  const RunResult result = run_lumbrix({"-q", "-i", named});
  EXPECT_EQ(result.exit_code, 0) << result.lines.join('|').toStdString();
  PsdImage image;
  EXPECT_TRUE(read_psd(folder + QString::fromUtf8("/Bild \u00fc.psd"), image));
  EXPECT_EQ(image.width, 320);
}

// An exponent counts, and a number past the 32-bit range stays at its end instead of wrapping
// into a value the checks accept.
TEST_F(Console, NumbersAreReadAsWrittenOrRefusedByTheirOptionsCheck) {
  const RunResult half = run_lumbrix({"-d", "-i", input, "--gamma=5e-1"});
  EXPECT_EQ(half.exit_code, 0);
  EXPECT_TRUE(half.lines.contains("Gamma: 0.50"));
  const RunResult tiny = run_lumbrix({"-i", input, "--gamma=1e-300"});
  EXPECT_EQ(tiny.lines.value(tiny.lines.size() - 1), "Error: Invalid gamma value");
  const RunResult bright = run_lumbrix({"-i", input, "--brightness=4294967396"});
  EXPECT_EQ(bright.lines.value(bright.lines.size() - 1), "Error: Invalid brightness value");
  const RunResult wide = run_lumbrix({"-d", "-i", input, "--width=99999999999", "--height=10"});
  EXPECT_EQ(wide.exit_code, 1);
  EXPECT_TRUE(wide.lines.contains("Width: 2147483647 PIXELS"));
  EXPECT_EQ(wide.lines.mid(wide.lines.size() - 2),
            (QStringList{"Error: " + input + ": resized picture wider than 30000 pixels",
                         "Conversion stopped"}));
  EXPECT_EQ(files(), (QStringList{"photo.png", "photo.psd"}));
}

// The ends of the 32-bit range in every option that feeds picture arithmetic: each run converts
// or fails the file, with no arithmetic overflow (the sanitizer build reports any on stderr)
// and nothing on disk but the input and a whole PSD.
TEST_F(Console, ExtremeOptionValuesConvertOrFailCleanly) {
  const QString max = QStringLiteral("2147483647");
  const QString min = QStringLiteral("-2147483648");
  const QStringList text{"--wm-text=a%eol%b%eol%c", "--wm-font-size=10"};
  const QStringList cases[] = {
      {"--fr-solid-left=" + max, "--fr-solid-right=" + min, "--fr-solid-top=" + min,
       "--fr-solid-bottom=" + max},
      QStringList{"--fr-solid-left=" + min, "--fr-solid-right=" + min, "--fr-solid-top=" + min,
                  "--fr-solid-bottom=" + min, "--wm-text-boundary=FRAME"} +
          text,
      QStringList{"--wm-font-leading=" + max} + text,
      QStringList{"--wm-font-leading=" + min, "--wm-text-padding=1073741824"} + text,
      QStringList{"--wm-text-padding=" + max, "--wm-text-alignment=RIGHT"} + text,
      QStringList{"--wm-text-padding=" + min, "--wm-text-alignment=RIGHT"} + text,
      QStringList{"--wm-text-x-offset=" + min, "--wm-text-y-offset=" + max,
                  "--wm-text-position=BOTTOMRIGHT"} +
          text,
      QStringList{"--wm-text-x-offset=" + max, "--wm-text-y-offset=" + min,
                  "--wm-text-position=MIDDLECENTER"} +
          text,
      {"--wm-image=" + input, "--wm-image-x-offset=" + min, "--wm-image-y-offset=" + min,
       "--wm-image-position=BOTTOMRIGHT"},
      {"--width=" + max, "--height=" + max, "--keep-aspect-ratio"},
      {"--width=" + max, "--width-unit=PERCENT", "--height=1"},
  };
  for (const QStringList &options : cases) {
    SCOPED_TRACE(options.join(' ').toStdString());
    const RunResult result = run_lumbrix(QStringList{"-i", input} + options);
    EXPECT_FALSE(result.errors.contains("runtime error")) << result.errors.toStdString();
    EXPECT_TRUE(result.exit_code == 0 || result.exit_code == 1) << result.exit_code;
    const QStringList expected =
        result.exit_code == 0 ? QStringList{"photo.png", "photo.psd"} : QStringList{"photo.png"};
    EXPECT_EQ(files(), expected);
    QFile::remove(path("photo.psd"));
  }
}

// The dynamic loader lists every library it maps: a console conversion maps no window toolkit,
// and the GUI library, like FreeImage's shared library and its codec libraries, only when a
// frame or a watermark is drawn (by the program it hands over to; the frame and watermark tests
// check what that program draws).
TEST_F(Console, AConversionLoadsOnlyTheLibrariesItUses) {
  const struct {
    QStringList options;
    bool gui;
  } cases[] = {{{}, false}, {{"--fr-solid-left=4"}, true}, {{"--wm-text=mark"}, true}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.options.join(' ').toStdString());
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
    process.setProcessEnvironment(environment);
    process.start(binary_path(), QStringList{"-q", "-i", input} + c.options);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0);
    const QByteArray loaded = process.readAllStandardError();
    EXPECT_TRUE(loaded.contains("libQt6Core")) << "the loader's list was not seen";
    EXPECT_FALSE(loaded.contains("libQt6Widgets"));
    EXPECT_EQ(loaded.contains("libQt6Gui"), c.gui);
#ifdef LUMBRIX_FREEIMAGE_ARCHIVE
    EXPECT_EQ(loaded.contains("libfreeimage") || loaded.contains("libOpenEXR"), c.gui);
#endif
    EXPECT_EQ(files(), (QStringList{"photo.png", "photo.psd"}));
  }
}

} // namespace
} // namespace lumbrix::test
