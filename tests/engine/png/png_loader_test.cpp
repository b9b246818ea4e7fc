#include "engine/png/memory_budget.h"
#include "engine/png/png_loader.h"
#include "engine/run/memory_gate.h"
#include "platform/files.h"
#include "support/address_space.h"
#include "support/crafted_png.h"
#include "support/paths.h"
#include "support/png_reference.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <png.h>

namespace lumbrix {
namespace {

QString corpus(const QString &name) { return test::corpus_dir() + name; }

bool write_file(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Pixel x, y (top-down) of a loaded image as R, G, B, A.
std::array<int, 4> pixel(FIBITMAP *image, int x, int y) {
  const Image rgba(FreeImage_ConvertTo32Bits(image));
  const BYTE *p =
      FreeImage_GetScanLine(rgba.get(), static_cast<int>(FreeImage_GetHeight(rgba.get())) - 1 - y) +
      4 * x;
  return {p[FI_RGBA_RED], p[FI_RGBA_GREEN], p[FI_RGBA_BLUE], p[FI_RGBA_ALPHA]};
}

// The size the batch's memory gate reads from the first bytes alone; what is not a PNG, or
// claims more than a PSD holds, costs the gate nothing (the loader refuses it).
TEST(PngLoader, TheSizeComesFromTheFirstBytesAlone) {
  PngSize size;
  ASSERT_TRUE(read_png_size(corpus("pngsuite/basn0g04.png"), size));
  EXPECT_EQ(size.width, 32u);
  EXPECT_EQ(size.height, 32u);
  EXPECT_EQ(size.bit_depth, 4);
  EXPECT_FALSE(read_png_size(corpus("README.md"), size));
  EXPECT_EQ(conversion_memory(corpus("README.md"), false), 0);
  QTemporaryDir dir;
  const QString huge = dir.filePath("huge.png");
  ASSERT_TRUE(write_file(huge, test::zero_png(40000, 40000, 16, PNG_COLOR_TYPE_RGB_ALPHA, 1)));
  ASSERT_TRUE(read_png_size(huge, size));
  EXPECT_EQ(size.width, 40000u);
  EXPECT_EQ(conversion_memory(huge, true), 0);
  const QString small = corpus("pngsuite/basn0g04.png");
  EXPECT_GT(conversion_memory(small, false), 32 * 32 * 4);
  EXPECT_EQ(conversion_memory(small, true) - conversion_memory(small, false), 32 * 32 * 8);
}

// The file's bytes are held while the picture decodes: they count once in what it takes, not
// again in what is left, so a file loads under a limit just above its need.
TEST(PngLoader, AFileLoadsUnderALimitJustAboveItsNeed) {
  QTemporaryDir dir;
  const QString path = dir.filePath("large.png");
  {
    QByteArray bytes = test::zero_png(100, 100, 8, PNG_COLOR_TYPE_RGB_ALPHA, 100);
    const QByteArray end = bytes.right(12);
    bytes.chop(12);
    test::append_chunk(bytes, "prVt", QByteArray(150'000'000, 'x'));
    ASSERT_TRUE(write_file(path, bytes + end));
  }
  const qint64 need = conversion_budget(100, 100, false, false, QFile(path).size());
  const test::AddressSpaceLimit limit(need + 20'000'000);
  if (!limit.ok())
    GTEST_SKIP() << "the hard limit leaves no room to lower";
  QString reason;
  EXPECT_TRUE(load_png(path, &reason));
  EXPECT_EQ(reason, "");
}

// A picture to be worked on in 16-bit samples needs room for two of them: refused under a
// limit the same picture loads under for 8-bit work.
TEST(PngLoader, SixteenBitWorkCountsInTheMemoryCheck) {
  QTemporaryDir dir;
  const QString path = dir.filePath("wide.png");
  ASSERT_TRUE(write_file(path, test::zero_png(3000, 3000, 8, PNG_COLOR_TYPE_RGB_ALPHA, 3000)));
  const test::AddressSpaceLimit limit(conversion_budget(3000, 3000, false, false, 0) + 20'000'000);
  if (!limit.ok())
    GTEST_SKIP() << "the hard limit leaves no room to lower";
  QString reason;
  EXPECT_FALSE(load_png(path, &reason, nullptr, true));
  EXPECT_TRUE(reason.startsWith("not enough memory")) << reason.toStdString();
  EXPECT_TRUE(load_png(path, &reason, nullptr, false));
}

TEST(PngLoader, ReadsTheHeaderBeforeTheImageData) {
  PngHeader header;
  ASSERT_TRUE(read_png_header(corpus("pngsuite/basn0g04.png"), header));
  EXPECT_EQ(header.width, 32);
  EXPECT_EQ(header.height, 32);
  EXPECT_EQ(header.bit_depth, 4);
  EXPECT_EQ(header.color_type, PNG_COLOR_TYPE_GRAY);
  EXPECT_EQ(header.gamma, 100000);
  EXPECT_FALSE(header.has_grey_key);
  ASSERT_TRUE(read_png_header(corpus("testpngs/gray-2-tRNS.png"), header));
  EXPECT_TRUE(header.has_grey_key);
  ASSERT_TRUE(read_png_header(corpus("pngsuite/basn3p04.png"), header));
  EXPECT_GT(header.palette_size, 0);
  EXPECT_FALSE(read_png_header(corpus("README.md"), header));
  // Declares a chunk far longer than the file: refused without reading it.
  EXPECT_FALSE(read_png_header(corpus("testpngs/crashers/huge_zTXt_chunk.png"), header));
}

TEST(PngLoader, GreyKeysAreTransparentAtEveryDepthAndGamma) {
  for (const char *depth : {"1", "2", "4", "8"})
    for (const char *variant : {"", "-1.8", "-linear", "-sRGB"}) {
      const QString name = QStringLiteral("testpngs/gray-%1%2-tRNS.png").arg(depth, variant);
      SCOPED_TRACE(name.toStdString());
      test::PngPixels png;
      ASSERT_TRUE(test::decode_png_reference(corpus(name), png));
      const Image image = load_png(corpus(name));
      ASSERT_TRUE(image);
      int transparent = 0;
      for (int y = 0; y < png.height; ++y)
        for (int x = 0; x < png.width; ++x) {
          const int expected = png.rgba[(static_cast<std::size_t>(y * png.width + x)) * 4 + 3];
          transparent += expected == 0;
          ASSERT_EQ(pixel(image.get(), x, y)[3], expected) << x << "," << y;
        }
      EXPECT_GT(transparent, 0);
    }
}

// Every file with a gAMA chunk, palettes and grey levels too, loads with the samples it stores,
// as a decoder that ignores gAMA reads them.
TEST(PngLoader, GammaFilesKeepTheirStoredSamples) {
  int seen = 0;
  for (const QString &file : test::corpus_pngs(test::CorpusPart::readable)) {
    test::PngPixels png;
    ASSERT_TRUE(test::decode_png_reference(file, png));
    if (!png.has_gamma || png.bit_depth > 8)
      continue;
    SCOPED_TRACE(file.toStdString());
    ++seen;
    const Image image = load_png(file);
    ASSERT_TRUE(image);
    const Image rgba(FreeImage_ConvertTo32Bits(image.get()));
    const int order[4] = {FI_RGBA_RED, FI_RGBA_GREEN, FI_RGBA_BLUE, FI_RGBA_ALPHA};
    for (int y = 0; y < png.height; ++y) {
      const BYTE *row = FreeImage_GetScanLine(rgba.get(), png.height - 1 - y);
      for (int x = 0; x < png.width * 4; ++x)
        ASSERT_EQ(row[x / 4 * 4 + order[x % 4]],
                  png.rgba[static_cast<std::size_t>(y * png.width * 4 + x)])
            << x / 4 << "," << y;
    }
  }
  EXPECT_GT(seen, 50);
}

TEST(PngLoader, IndicesPastThePaletteAreBlack) {
  const Image image = load_png(corpus("testpngs/badpal/test-palette-8.png"));
  ASSERT_TRUE(image);
  EXPECT_EQ(pixel(image.get(), 127, 127), (std::array<int, 4>{0, 0, 0, 255}));
}

TEST(PngLoader, RefusesPicturesWiderThanAPsdFromTheHeader) {
  QTemporaryDir dir;
  const QString fits = dir.filePath(QStringLiteral("fits.png"));
  const QString wide = dir.filePath(QStringLiteral("wide.png"));
  ASSERT_TRUE(test::write_grey_png(fits, 30000, 1));
  ASSERT_TRUE(test::write_grey_png(wide, 1, 30001));
  EXPECT_TRUE(load_png(fits));
  EXPECT_FALSE(load_png(wide));
  // The file itself is sound: only the limit refuses it.
  const Image direct(FreeImage_Load(FIF_PNG, native_path(wide).constData(), 0));
  EXPECT_TRUE(direct);
}

} // namespace
} // namespace lumbrix
