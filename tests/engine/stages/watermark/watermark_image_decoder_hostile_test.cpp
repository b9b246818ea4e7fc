// A watermark image path that names a FIFO, a device or a folder gives no image, without
// waiting for a writer.
#include "engine/stages/watermark/watermark_image_decoder.h"
#include "support/hostile_paths.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

TEST(WatermarkImageDecoderHostile, FifoDeviceAndFolderGiveNoImage) {
  const QTemporaryDir dir;
  for (const char *extension : {"png", "jpg"}) {
    const QString folder = dir.filePath(QLatin1String(extension));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QStringList inputs = test::make_non_regular_inputs(folder, QLatin1String(extension));
    ASSERT_EQ(inputs.size(), 3);
    for (const QString &input : inputs) {
      SCOPED_TRACE(input.toStdString());
      EXPECT_TRUE(decode_watermark_image(input).isNull());
    }
  }
}

} // namespace
} // namespace lumbrix
