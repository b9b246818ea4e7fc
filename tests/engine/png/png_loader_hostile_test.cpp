// Inputs that are not regular files: the loader must refuse them without blocking, and still
// follow a link to a real picture.
#include "engine/png/png_loader.h"
#include "support/crafted_png.h"
#include "support/hostile_paths.h"
#include "support/paths.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <png.h>

#include <atomic>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace lumbrix {
namespace {

TEST(PngLoaderHostile, FifoDeviceAndFolderAreRefusedWithoutWaiting) {
  const QTemporaryDir dir;
  const QStringList inputs = test::make_non_regular_inputs(dir.path(), QStringLiteral("png"));
  ASSERT_EQ(inputs.size(), 3);
  for (const QString &input : inputs) {
    SCOPED_TRACE(input.toStdString());
    PngHeader header;
    EXPECT_FALSE(read_png_header(input, header));
    EXPECT_EQ(header.width, 0);
    EXPECT_FALSE(load_png(input));
  }
}

TEST(PngLoaderHostile, LinkToAPictureLoadsIt) {
  const QTemporaryDir dir;
  const QString link = dir.filePath(QStringLiteral("link.png"));
  ASSERT_TRUE(QFile::link(test::source_dir() + "samples/sample.png", link));
  const Image image = load_png(link);
  ASSERT_TRUE(image);
  EXPECT_EQ(FreeImage_GetWidth(image.get()), 320u);
  EXPECT_EQ(FreeImage_GetHeight(image.get()), 240u);
}

// A chunk that claims more than the file anywhere before IEND, a picture larger than a PSD, and
// image data too small for the picture even at deflate's best: refused from the structure alone,
// with the reason. Pictures whose data is compressed as far as it goes still pass.
TEST(PngLoaderHostile, FilesAreHeldToWhatTheyCanReallyHold) {
  const QTemporaryDir dir;
  QByteArray text_after_data = test::zero_png(100, 100, 8, PNG_COLOR_TYPE_RGB, 100);
  text_after_data.chop(12); // IEND
  const qsizetype text_at = text_after_data.size();
  text_after_data += test::big_endian(0x7FFFFFF0) + "tEXt" + QByteArray(600, 'x');
  QByteArray huge_length = test::zero_png(2, 2, 8, PNG_COLOR_TYPE_GRAY, 2);
  huge_length.insert(33, test::big_endian(0xFFFFFFF0) + "zTXt");
  // One row of data for thirty thousand; its length stands after the signature and IHDR.
  const QByteArray deep = test::zero_png(30000, 30000, 16, PNG_COLOR_TYPE_RGB_ALPHA, 1);
  const struct {
    const char *name;
    QByteArray bytes;
    QString reason;
  } cases[] = {
      {"text", text_after_data,
       QStringLiteral("damaged PNG file: its tEXt chunk at byte %1 claims 2147483632 bytes, "
                      "more than the file holds")
           .arg(text_at)},
      {"length", huge_length,
       "damaged PNG file: its zTXt chunk at byte 33 claims 4294967280 bytes, more than the file "
       "holds"},
      {"deep", deep,
       QStringLiteral("damaged PNG file: %1 bytes of image data cannot hold a 30000 x 30000 "
                      "picture, which takes at least 6976744")
           .arg(QByteArrayView(deep).sliced(33, 4).toByteArray().toHex().toUInt(nullptr, 16))},
      {"wide", test::zero_png(30001, 2, 1, PNG_COLOR_TYPE_GRAY, 2),
       "picture wider than 30000 pixels"},
      {"text file", "just text", "not a PNG file"},
      {"grey", test::zero_png(3000, 3000, 8, PNG_COLOR_TYPE_GRAY, 3000), ""},
      {"rgba16", test::zero_png(1000, 1000, 16, PNG_COLOR_TYPE_RGB_ALPHA, 1000), ""},
      {"palette", test::zero_png(4000, 4000, 1, PNG_COLOR_TYPE_PALETTE, 4000), ""},
  };
  for (const auto &[name, bytes, reason] : cases) {
    SCOPED_TRACE(name);
    const QString path = dir.filePath(QString::fromLatin1(name) + ".png");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    PngHeader header;
    QString header_reason;
    EXPECT_EQ(read_png_header(path, header, &header_reason), reason.isEmpty());
    EXPECT_EQ(header_reason, reason);
    QString load_reason;
    EXPECT_EQ(bool(load_png(path, &load_reason)), reason.isEmpty());
    EXPECT_EQ(load_reason, reason);
  }
}

// Another process rewrites a text chunk's length back and forth while the picture loads: each load
// sees the file one way or the other, never checked one way and decoded the other. The two lengths
// differ in their first byte only, so that no read can catch half of each.
TEST(PngLoaderHostile, AFileRewrittenWhileItLoadsIsCheckedAndDecodedAlike) {
  const QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("racing.png"));
  QByteArray bytes = test::zero_png(64, 64, 8, PNG_COLOR_TYPE_RGB, 64);
  const qsizetype length_at = bytes.size() - 12;
  QByteArray text;
  test::append_chunk(text, "tEXt", QByteArray("Comment\0", 8) + QByteArray(600, 'x'));
  bytes.insert(length_at, text);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
  file.close();
  const int fd = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  std::atomic<bool> done = false;
  std::thread writer([&] {
    const QByteArray lengths[] = {test::big_endian(608), test::big_endian(0x7F000260)};
    for (int i = 0; !done; ++i)
      if (::pwrite(fd, lengths[i % 2].constData(), 4, length_at) != 4)
        return;
  });
  const QString refusal = QStringLiteral("damaged PNG file: its tEXt chunk at byte %1 claims "
                                         "2130707040 bytes, more than the file holds")
                              .arg(length_at);
  int loaded = 0;
  QString other_reason;
  for (int i = 0; i < 300 && other_reason.isEmpty(); ++i) {
    QString reason;
    loaded += load_png(path, &reason) ? 1 : 0;
    if (!reason.isEmpty() && reason != refusal)
      other_reason = reason;
  }
  done = true;
  writer.join();
  ::close(fd);
  EXPECT_EQ(other_reason, "");
  EXPECT_GT(loaded, 0);
}

} // namespace
} // namespace lumbrix
