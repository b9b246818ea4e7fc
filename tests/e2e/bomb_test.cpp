// Decompression bombs: small PNG files that declare enormous pictures. The program refuses what
// a PSD cannot hold from the header alone, and converts the rest within bounded memory or
// fails cleanly, never ended by the system.
#include "support/child_run.h"
#include "support/crafted_png.h"
#include "support/psd_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>

namespace lumbrix::test {
namespace {

QByteArray black_png(quint32 width, quint32 height, quint32 rows_stored) {
  return zero_png(width, height, 8, PNG_COLOR_TYPE_GRAY, rows_stored);
}

qint64 big_endian_at(const QByteArray &bytes, int at) {
  qint64 value = 0;
  for (int i = 0; i < 4; ++i)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

class Bomb : public ::testing::Test {
protected:
  QString write(const char *name, const QByteArray &bytes) {
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }
  QStringList files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }

  QTemporaryDir dir;
};

// A few hundred bytes whose header or chunks claim what no PSD holds or gigabytes: pictures
// wider or taller than a PSD, pictures of 30000 x 30000 with one row of data, a text chunk after
// the image data claiming two gigabytes. Each is refused before any of it is allocated.
TEST_F(Bomb, SmallFilesClaimingHugePicturesOrChunksAreRefusedBeforeAnyOfItIsTaken) {
  QByteArray text_after_data = zero_png(100, 100, 8, PNG_COLOR_TYPE_RGB, 100);
  text_after_data.chop(12); // IEND
  const qint64 text_at = text_after_data.size();
  text_after_data += big_endian(0x7FFFFFF0) + "tEXt" + QByteArray(600, 'x');
  const QByteArray deep = zero_png(30000, 30000, 16, PNG_COLOR_TYPE_RGB_ALPHA, 1);
  const QByteArray flat = zero_png(30000, 30000, 8, PNG_COLOR_TYPE_RGB_ALPHA, 1);
  // The image data's length stands after the signature and IHDR.
  const auto too_little = [](const QByteArray &png, const char *least) {
    return QStringLiteral("damaged PNG file: %1 bytes of image data cannot hold a 30000 x 30000 "
                          "picture, which takes at least %2")
        .arg(big_endian_at(png, 33))
        .arg(QLatin1String(least));
  };
  const struct {
    QString input;
    QString reason;
  } cases[] = {
      {write("wide.png", black_png(30001, 1, 1)), "picture wider than 30000 pixels"},
      {write("tall.png", black_png(1, 30001, 1)), "picture taller than 30000 pixels"},
      {write("both.png", black_png(30001, 30001, 1)), "picture wider than 30000 pixels"},
      {write("deep.png", deep), too_little(deep, "6976744")},
      {write("flat.png", flat), too_little(flat, "3488372")},
      {write("text.png", text_after_data),
       QStringLiteral("damaged PNG file: its tEXt chunk at byte %1 claims 2147483632 bytes, "
                      "more than the file holds")
           .arg(text_at)},
  };
  for (const auto &[input, reason] : cases) {
    SCOPED_TRACE(input.toStdString());
    const ChildRun run = run_lumbrix_child({"-d", "-i", input});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_TRUE(run.lines.contains("Not OK"));
    EXPECT_EQ(run.lines.mid(run.lines.size() - 2),
              (QStringList{"Error: " + input + ": " + reason, "Conversion stopped"}));
    EXPECT_LT(run.peak_rss_kb, 100 * 1024);
  }
  EXPECT_EQ(files(),
            (QStringList{"both.png", "deep.png", "flat.png", "tall.png", "text.png", "wide.png"}));
}

// Pictures compressed as far as zlib goes, converted within the budget of one conversion: two
// 32-bit pictures and 100 MB for 8-bit samples (20,000 x 20,000 grey from about 400 KB), three
// for 16-bit ones, whose tone mapping holds no copy of its own (8,000 x 8,000 RGBA).
TEST_F(Bomb, LargestPicturesConvertWithinTheirBudgetOrFailCleanly) {
  if (qEnvironmentVariableIsSet("LUMBRIX_SKIP_LARGE"))
    GTEST_SKIP() << "LUMBRIX_SKIP_LARGE is set";
  const struct {
    qint64 side;
    int depth;
    int colour_type;
    int pictures; // 32-bit pictures the budget allows
  } cases[] = {{20000, 8, PNG_COLOR_TYPE_GRAY, 2}, {8000, 16, PNG_COLOR_TYPE_RGB_ALPHA, 3}};
  for (const auto &[side, depth, colour_type, pictures] : cases) {
    SCOPED_TRACE(depth);
    const QString input = write("huge.png", zero_png(side, side, depth, colour_type, side));
    const ChildRun run = run_lumbrix_child({"-d", "-i", input});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.signal, 0);
    EXPECT_LE(run.peak_rss_kb, (pictures * side * side * 4 + 100 * 1000 * 1000) / 1024);
    std::printf("peak resident set, %d-bit: %ld MB\n", depth, run.peak_rss_kb / 1024);
    const QString output = dir.filePath("huge.psd");
    if (run.exit_code == 0) {
      EXPECT_EQ(run.lines.value(run.lines.size() - 1), "Files converted: 1 of 1");
      // The header only: the pixels would take as much again in this process.
      QFile file(output);
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      const QByteArray head = file.read(26);
      ASSERT_EQ(head.size(), 26);
      EXPECT_TRUE(head.startsWith("8BPS"));
      EXPECT_EQ(big_endian_at(head, 14), side);
      EXPECT_EQ(big_endian_at(head, 18), side);
      EXPECT_EQ(QFileInfo(output).size(), psd_declared_size(output));
      EXPECT_EQ(files(), (QStringList{"huge.png", "huge.psd"}));
    } else {
      EXPECT_EQ(run.exit_code, 1);
      EXPECT_EQ(run.lines.value(run.lines.size() - 1), "Conversion stopped");
      EXPECT_EQ(files(), QStringList{"huge.png"});
    }
    QFile::remove(output);
  }
}

// A sound picture whose conversion would take more than the process may have is refused before
// it is decoded, rather than failing, or being ended, half way.
TEST_F(Bomb, PictureNeedingMoreMemoryThanTheProcessMayTakeIsRefusedBeforeDecoding) {
  if (qEnvironmentVariableIsSet("LUMBRIX_SKIP_LARGE"))
    GTEST_SKIP() << "LUMBRIX_SKIP_LARGE is set (sanitizers reserve more address space)";
  const QString input = write("big.png", zero_png(16000, 16000, 8, PNG_COLOR_TYPE_RGB, 16000));
  ChildOptions options;
  options.address_space_limit = 2000LL * 1024 * 1024;
  const ChildRun run = run_lumbrix_child({"-d", "-i", input}, options);
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.signal, 0);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_TRUE(run.lines.value(run.lines.size() - 2)
                  .startsWith("Error: " + input +
                              ": not enough memory: a 16000 x 16000 picture takes up to 2148 MB "
                              "to convert, "));
  EXPECT_EQ(run.lines.value(run.lines.size() - 1), "Conversion stopped");
  EXPECT_LT(run.peak_rss_kb, 100 * 1024);
  EXPECT_EQ(files(), QStringList{"big.png"});
}

TEST_F(Bomb, ProfileOfAHundredMegabytesIsRefusedAfterItsFirstFew) {
  const QString profile = dir.filePath("profile.ini");
  QFile file(profile);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  const QByteArray blank_lines(1 << 20, '\n');
  for (int i = 0; i < 100; ++i)
    file.write(blank_lines);
  file.close();
  const ChildRun run = run_lumbrix_child({"--profile=" + profile});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.lines,
            (QStringList{"Error: Invalid profile file", profile + " is larger than 2 MB"}));
  EXPECT_LT(run.peak_rss_kb, 100 * 1024);
}

} // namespace
} // namespace lumbrix::test
