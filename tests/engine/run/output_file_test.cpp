#include "engine/run/output_file.h"
#include "engine/settings/settings.h"
#include "support/psd_reader.h"
#include "support/requests.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// A written file waits without a name beside the earlier output, which stays until the commit
// replaces it; refused commits leave nothing behind.
TEST(OutputFile, TheWrittenFileReplacesTheEarlierOneOnlyWhenCommitted) {
  QTemporaryDir dir;
  const QString earlier = dir.filePath("out.psd");
  QFile file(earlier);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("earlier");
  file.close();
  const ConversionRequest request = test::psd_request(dir.path() + '/', SettingsUse::Console);
  const InputFile input{dir.filePath("in.png"), QString()};
  const auto written = [&] {
    WrittenOutput output;
    QString reason;
    EXPECT_TRUE(write_temporary(Image(FreeImage_Allocate(5, 3, 32)), {}, request, input, {}, output,
                                reason));
    EXPECT_EQ(reason, "");
    return output;
  };
  const QStringList before{"out.psd"};

  WrittenOutput first = written();
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), before);
  QString reason;
  ASSERT_TRUE(commit_output(first, input, "out.psd", reason));
  test::PsdImage psd;
  ASSERT_TRUE(test::read_psd(earlier, psd));
  EXPECT_EQ(psd.width, 5);

  QFile(input.path).open(QIODevice::WriteOnly);
  WrittenOutput second = written();
  EXPECT_FALSE(commit_output(second, input, "in.png", reason));
  EXPECT_EQ(reason, "the output name " + input.path + " is the input");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"in.png", "out.psd"}));
}

} // namespace
} // namespace lumbrix
