#include "engine/devil_output.h"
#include "platform/files.h"
#include "support/devil_setup.h"

#include <IL/il.h>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class DevilOutput : public ::testing::Test {
protected:
  void SetUp() override {
    test::init_devil();
    ilGenImages(1, &name);
    ilBindImage(name);
    ilTexImage(300, 200, 1, 4, IL_RGBA, IL_UNSIGNED_BYTE, nullptr);
    ilEnable(IL_FILE_OVERWRITE);
  }
  void TearDown() override { ilDeleteImages(1, &name); }
  ILuint name = 0;
};

TEST_F(DevilOutput, WritesTheWholeFileThroughItsBuffer) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.psd"));
  const DevilFileOutput output;
  ASSERT_EQ(ilSave(IL_PSD, native_path(path).constData()), IL_TRUE);
  EXPECT_FALSE(output.failed());
  EXPECT_EQ(file_size(path), 40 + 4 * 300 * 200);
}

// DevIL itself reports success here; the device refuses every byte.
TEST_F(DevilOutput, NoticesAFailedWrite) {
  const DevilFileOutput output;
  ilSave(IL_PSD, "/dev/full");
  EXPECT_TRUE(output.failed());
}

} // namespace
} // namespace lumbrix
