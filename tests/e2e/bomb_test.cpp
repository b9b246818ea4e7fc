// Decompression bombs: small PNG files that declare enormous pictures. The program refuses what
// a PSD cannot hold from the header alone, and converts the rest within bounded memory or
// fails cleanly, never ended by the system.
#include "support/child_run.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <vector>

namespace lumbrix::test {
namespace {

void append_big_endian(QByteArray &bytes, quint32 value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    bytes.append(static_cast<char>((value >> shift) & 0xFF));
}

void append_chunk(QByteArray &png, const char *type, const QByteArray &data) {
  append_big_endian(png, static_cast<quint32>(data.size()));
  const QByteArray typed = QByteArray(type, 4) + data;
  png += typed;
  append_big_endian(
      png, static_cast<quint32>(crc32(0, reinterpret_cast<const Bytef *>(typed.constData()),
                                      static_cast<uInt>(typed.size()))));
}

// An 8-bit grey PNG of the given size, all black, whose pixel data is compressed as far as zlib
// goes: about a thousandth of the picture. rows_stored limits how many rows the data holds.
QByteArray black_png(quint32 width, quint32 height, quint32 rows_stored) {
  QByteArray png("\x89PNG\r\n\x1a\n", 8);
  QByteArray header;
  append_big_endian(header, width);
  append_big_endian(header, height);
  header.append("\x08\x00\x00\x00\x00", 5);
  append_chunk(png, "IHDR", header);

  z_stream z{};
  deflateInit(&z, Z_BEST_COMPRESSION);
  const std::vector<Bytef> row(width + 1, 0); // filter byte, then the samples
  std::vector<Bytef> out(1 << 20);
  QByteArray data;
  for (quint32 y = 0; y < rows_stored; ++y) {
    z.next_in = const_cast<Bytef *>(row.data());
    z.avail_in = static_cast<uInt>(row.size());
    const int flush = y + 1 == rows_stored ? Z_FINISH : Z_NO_FLUSH;
    do {
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      deflate(&z, flush);
      data.append(reinterpret_cast<const char *>(out.data()),
                  static_cast<qsizetype>(out.size() - z.avail_out));
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  append_chunk(png, "IDAT", data);
  append_chunk(png, "IEND", QByteArray());
  return png;
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

TEST_F(Bomb, PictureWiderOrTallerThanAPsdIsRefusedFromItsHeader) {
  // The data holds a single row: a decoder that got past the header would fail on it anyway,
  // but only after allocating the whole picture.
  const QString wide = write("wide.png", black_png(30001, 1, 1));
  const QString tall = write("tall.png", black_png(1, 30001, 1));
  const QString both = write("both.png", black_png(30001, 30001, 1));
  for (const QString &input : {wide, tall, both}) {
    SCOPED_TRACE(input.toStdString());
    const ChildRun run = run_lumbrix_child({"-d", "-i", input});
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_TRUE(run.lines.contains("Not OK"));
    EXPECT_EQ(run.lines.value(run.lines.size() - 1), "Conversion stopped");
    // Refused before decoding: far less than the 900 MB a 30001-pixel-square grey picture takes.
    EXPECT_LT(run.peak_rss_kb, 300 * 1024);
  }
  EXPECT_EQ(files(), (QStringList{"both.png", "tall.png", "wide.png"}));
}

// 20,000 x 20,000 from a file of about 400 KB: 1.6 GB as 32-bit pixels.
TEST_F(Bomb, LargestPicturesConvertWithinBoundedMemoryOrFailCleanly) {
  if (qEnvironmentVariableIsSet("LUMBRIX_SKIP_LARGE"))
    GTEST_SKIP() << "LUMBRIX_SKIP_LARGE is set";
  constexpr qint64 side = 20000;
  const QString input = write("huge.png", black_png(side, side, side));
  const ChildRun run = run_lumbrix_child({"-d", "-i", input});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.signal, 0);
  const qint64 limit_kb = (2 * side * side * 4 + 100 * 1000 * 1000) / 1024;
  EXPECT_LE(run.peak_rss_kb, limit_kb);
  std::printf("peak resident set: %ld MB\n", run.peak_rss_kb / 1024);
  const QString output = dir.filePath("huge.psd");
  if (run.exit_code == 0) {
    EXPECT_EQ(run.lines.value(run.lines.size() - 1), "Files converted: 1 of 1");
    // The header only: the pixels would take another 1.6 GB in this process.
    QFile file(output);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(26);
    ASSERT_EQ(head.size(), 26);
    EXPECT_TRUE(head.startsWith("8BPS"));
    EXPECT_EQ(big_endian_at(head, 14), side);
    EXPECT_EQ(big_endian_at(head, 18), side);
    EXPECT_EQ(QFileInfo(output).size(), 40 + 4 * side * side);
    EXPECT_EQ(files(), (QStringList{"huge.png", "huge.psd"}));
  } else {
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_EQ(run.lines.value(run.lines.size() - 1), "Conversion stopped");
    EXPECT_EQ(files(), QStringList{"huge.png"});
  }
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
