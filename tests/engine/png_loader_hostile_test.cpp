// Inputs that are not regular files: the loader must refuse them without blocking, and still
// follow a link to a real picture.
#include "engine/png_loader.h"
#include "support/hostile_paths.h"
#include "support/paths.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

} // namespace
} // namespace lumbrix
