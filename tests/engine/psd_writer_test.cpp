#include "engine/image.h"
#include "engine/psd_writer.h"
#include "platform/files.h"
#include "support/devil_setup.h"
#include "support/psd_file.h"
#include "support/psd_reader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <sys/resource.h>
#include <vector>

namespace lumbrix {
namespace {

class PsdWriter : public ::testing::Test {
protected:
  void SetUp() override {
    test::init_devil();
    ignore_file_size_signal();
  }
  QString path(const char *name) const { return dir.filePath(QLatin1String(name)); }
  QTemporaryDir dir;
};

// Every pixel different, so a swapped channel or a flipped row shows.
Image pattern(int width, int height, int bpp) {
  Image image(FreeImage_Allocate(width, height, bpp));
  const int bytes = bpp / 8;
  for (int y = 0; y < height; ++y) {
    BYTE *row = FreeImage_GetScanLine(image.get(), height - 1 - y); // top-down
    for (int x = 0; x < width; ++x) {
      BYTE *p = row + x * bytes;
      p[FI_RGBA_RED] = static_cast<BYTE>(10 * x + y);
      p[FI_RGBA_GREEN] = static_cast<BYTE>(100 + y);
      p[FI_RGBA_BLUE] = static_cast<BYTE>(200 + x);
      if (bytes == 4)
        p[FI_RGBA_ALPHA] = static_cast<BYTE>(x * y);
    }
  }
  return image;
}

TEST_F(PsdWriter, WritesRawRgbaPlanesTopDown) {
  for (const int bpp : {32, 24}) {
    SCOPED_TRACE(bpp);
    ASSERT_TRUE(test::write_psd_file(pattern(3, 7, bpp), path("out.psd")));
    EXPECT_EQ(file_size(path("out.psd")), psd_file_size(3, 7));
    test::PsdImage psd;
    ASSERT_TRUE(test::read_psd(path("out.psd"), psd));
    EXPECT_EQ(psd.version, 1);
    EXPECT_EQ(psd.color_mode, 3);
    EXPECT_EQ(psd.channels, 4);
    EXPECT_EQ(psd.depth, 8);
    EXPECT_EQ(psd.width, 3);
    EXPECT_EQ(psd.height, 7);
    for (int y = 0; y < 7; ++y)
      for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(psd.at(0, x, y), 10 * x + y);
        EXPECT_EQ(psd.at(1, x, y), 100 + y);
        EXPECT_EQ(psd.at(2, x, y), 200 + x);
        EXPECT_EQ(psd.at(3, x, y), bpp == 32 ? x * y : 255);
      }
  }
}

TEST_F(PsdWriter, RefusesWhatItCannotWriteWholeWritingNothing) {
  for (const char *name : {"deep.psd", "wide.psd", "none.psd"}) {
    Image image(std::string(name) == "deep.psd"   ? FreeImage_AllocateT(FIT_UINT16, 4, 4)
                : std::string(name) == "wide.psd" ? FreeImage_Allocate(30001, 1, 8)
                                                  : nullptr);
    EXPECT_FALSE(test::write_psd_file(std::move(image), path(name)));
    EXPECT_EQ(file_size(path(name)), 0) << name;
  }
  EXPECT_FALSE(write_psd(pattern(2, 2, 32), -1));
}

TEST_F(PsdWriter, ReportsAShortWriteAsFailure) {
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = test::write_psd_file(pattern(64, 64, 32), path("short.psd"));
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(written);
  EXPECT_LT(file_size(path("short.psd")), psd_file_size(64, 64));
}

TEST_F(PsdWriter, ReportsEachStepToTheObserver) {
  static std::vector<std::string> steps;
  steps.clear();
  ASSERT_TRUE(test::write_psd_file(pattern(2, 2, 24), path("steps.psd"),
                                   {[](const char *step) { steps.emplace_back(step); }, {}}));
  EXPECT_EQ(steps, (std::vector<std::string>{"DevIL image", "DevIL save"}));
}

} // namespace
} // namespace lumbrix
