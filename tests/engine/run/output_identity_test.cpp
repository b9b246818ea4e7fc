#include "engine/image/image.h"
#include "engine/png/png_loader.h"
#include "engine/psd/psd_document.h"
#include "engine/run/pipeline.h"
#include "engine/settings/format_catalogue.h"
#include "engine/settings/settings.h"
#include "platform/files.h"
#include "support/devil_reference.h"
#include "support/devil_setup.h"
#include "support/paths.h"
#include "support/psd_document_file.h"
#include "support/requests.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

namespace lumbrix {
namespace {

QByteArray contents(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class OutputIdentity : public ::testing::Test {
protected:
  void SetUp() override { test::init_devil(); }

  // The merged-only file must match DevIL's byte for byte. reference is the picture DevIL is
  // given; by default the same as image.
  void expect_same_psd(Image image, const QString &label, FIBITMAP *reference = nullptr) {
    SCOPED_TRACE(label.toStdString());
    ASSERT_TRUE(image);
    const QString expected = dir.filePath(QStringLiteral("expected.psd"));
    const QString actual = dir.filePath(QStringLiteral("actual.psd"));
    ASSERT_TRUE(test::write_devil_reference_psd(reference ? reference : image.get(), expected));
    PsdDocument document{std::move(image), QStringLiteral("layer"), 300, 300, "profile"};
    document.layout = PsdLayout::merged_only;
    ASSERT_EQ(test::write_psd_file(std::move(document), actual).status, PsdWriteStatus::written);
    const QByteArray want = contents(expected);
    EXPECT_FALSE(want.isEmpty());
    EXPECT_TRUE(contents(actual) == want);
  }

  QTemporaryDir dir;
};

// Every byte random, alpha included; odd sizes so row padding and pitch matter.
Image noise(Image image, unsigned seed) {
  const int height = image_height(image);
  std::mt19937 engine{seed};
  const unsigned line = FreeImage_GetLine(image.get());
  for (int y = 0; y < height; ++y) {
    BYTE *row = FreeImage_GetScanLine(image.get(), y);
    for (unsigned i = 0; i < line; ++i)
      row[i] = static_cast<BYTE>(engine());
  }
  return image;
}

Image noise(int width, int height, int bpp, unsigned seed) {
  return noise(Image(FreeImage_Allocate(width, height, bpp)), seed);
}

// A palette bitmap with random colours and a transparency table.
Image paletted_noise(int width, int height, int bpp, unsigned seed) {
  Image image = noise(width, height, bpp, seed);
  std::mt19937 engine{seed + 1};
  RGBQUAD *palette = FreeImage_GetPalette(image.get());
  BYTE alphas[256];
  const unsigned colours = FreeImage_GetColorsUsed(image.get());
  for (unsigned i = 0; i < colours; ++i) {
    palette[i] = RGBQUAD{static_cast<BYTE>(engine()), static_cast<BYTE>(engine()),
                         static_cast<BYTE>(engine()), 0};
    alphas[i] = static_cast<BYTE>(engine());
  }
  FreeImage_SetTransparencyTable(image.get(), alphas, static_cast<int>(colours));
  return image;
}

// The largest is written on every core.
TEST_F(OutputIdentity, SyntheticImagesOfEveryDepth) {
  for (const auto &[width, height] :
       {std::pair{1, 1}, {3, 7}, {257, 131}, {4097, 3}, {1025, 1031}}) {
    const QString size = QStringLiteral("%1x%2 ").arg(width).arg(height);
    expect_same_psd(noise(width, height, 32, 1), size + QStringLiteral("rgba"));
    expect_same_psd(noise(width, height, 24, 2), size + QStringLiteral("rgb"));
    for (const int bpp : {1, 4, 8})
      expect_same_psd(paletted_noise(width, height, bpp, 3),
                      size + QStringLiteral("palette %1").arg(bpp));
  }
}

// The plain way exports nothing from 16-bit pixels and writes whatever the buffer held; these
// keep their colours, as FreeImage expands them.
TEST_F(OutputIdentity, SixteenBitPixelsKeepTheirColours) {
  Image five_five_five = noise(7, 5, 16, 4);
  Image five_six_five = noise(Image(FreeImage_Allocate(5, 9, 16, FI16_565_RED_MASK,
                                                       FI16_565_GREEN_MASK, FI16_565_BLUE_MASK)),
                              5);
  for (Image *image : {&five_five_five, &five_six_five}) {
    const Image expanded(FreeImage_ConvertTo32Bits(image->get()));
    expect_same_psd(std::move(*image), QStringLiteral("16-bit"), expanded.get());
  }
}

// Every corpus picture that loads as a standard bitmap.
QStringList corpus_bitmaps() {
  QStringList paths;
  for (const QString &path : test::corpus_pngs(test::CorpusPart::readable)) {
    const Image image = load_png(path);
    if (image && FreeImage_GetImageType(image.get()) == FIT_BITMAP)
      paths << path;
  }
  return paths;
}

TEST_F(OutputIdentity, CorpusImages) {
  const QStringList paths = corpus_bitmaps();
  EXPECT_GT(paths.size(), 50);
  for (const QString &path : paths)
    expect_same_psd(load_png(path), path);
}

// Whole conversions without layers against the plain way: the picture widened to 32 bits by
// FreeImage.
TEST_F(OutputIdentity, ConversionsWithoutLayers) {
  ConversionRequest request = test::psd_request(dir.path() + QLatin1Char('/'));
  request.settings.psd_layers = 0;
  for (const QString &path : corpus_bitmaps()) {
    SCOPED_TRACE(path.toStdString());
    const Image image = load_png(path);
    const Image widened(FreeImage_ConvertTo32Bits(image.get()));
    const QString expected = dir.filePath(QStringLiteral("expected.psd"));
    ASSERT_TRUE(test::write_devil_reference_psd(widened.get(), expected));
    const FileResult result = convert_file(request, {path, QString()}, request.counters);
    ASSERT_EQ(result.status, FileStatus::Converted);
    EXPECT_TRUE(contents(result.output_path) == contents(expected));
  }
}

} // namespace
} // namespace lumbrix
