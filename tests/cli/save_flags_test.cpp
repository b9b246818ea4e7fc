#include "cli/keywords.h"
#include "engine/settings/settings.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class SaveFlags : public ::testing::Test {
protected:
  Settings s = default_settings(SettingsUse::Window);
};

TEST_F(SaveFlags, JpegCombinesQualityChromaAndSaveMode) {
  s.jpg_quality = 80;
  s.jpg_chroma = keyword_value(kw_chroma, "LOW");
  s.jpg_save_as = keyword_value(kw_jpeg_save, "PROGRESSIVE");
  EXPECT_EQ(save_flags(s, "jpg"), 80 | JPEG_SUBSAMPLING_422 | JPEG_PROGRESSIVE);

  s = default_settings(SettingsUse::Window);
  EXPECT_EQ(save_flags(s, "jpg"), 95 | JPEG_SUBSAMPLING_444);

  s.jpg_chroma = 9;
  s.jpg_save_as = 9;
  EXPECT_EQ(save_flags(s, "jpg"), 95);
}

TEST_F(SaveFlags, JpegQualityOutsideItsRangeCannotSetOtherFlags) {
  s.jpg_chroma = 2;
  for (int quality : {0, -1, 101, JPEG_PROGRESSIVE}) {
    s.jpg_quality = quality;
    EXPECT_EQ(save_flags(s, "jpg"), JPEG_SUBSAMPLING_420) << quality;
  }
}

TEST_F(SaveFlags, PngCompressionAndInterlacing) {
  EXPECT_EQ(save_flags(s, "png"), PNG_Z_NO_COMPRESSION);
  s.png_compression = keyword_value(kw_compression, "ZLIB9");
  s.png_interlaced = 1;
  EXPECT_EQ(save_flags(s, "png"), PNG_Z_BEST_COMPRESSION | PNG_INTERLACED);
  // A keyword of another format is stored as its number; the writer falls back to its default.
  s.png_compression = keyword_value(kw_compression, "ADOBEDEFLATE");
  s.png_interlaced = 0;
  EXPECT_EQ(save_flags(s, "png"), 0);
}

TEST_F(SaveFlags, TiffCompressionWithCmykOnlyForThatModel) {
  s.tiff_compression = keyword_value(kw_compression, "LZW");
  s.tiff_color_model = keyword_value(kw_color_model, "CMYK");
  EXPECT_EQ(save_flags(s, "tiff"), TIFF_LZW | TIFF_CMYK);
  s.tiff_color_model = keyword_value(kw_color_model, "LAB");
  s.tiff_compression = keyword_value(kw_compression, "LOGLUV");
  EXPECT_EQ(save_flags(s, "tiff"), TIFF_LOGLUV);
  s.tiff_compression = 0;
  EXPECT_EQ(save_flags(s, "tiff"), TIFF_NONE);
}

TEST_F(SaveFlags, RleAndExrWritersTakeOnlyTheirOwnKeywords) {
  EXPECT_EQ(save_flags(s, "bmp"), 0);
  s.bmp_compression = keyword_value(kw_compression, "RLE");
  s.tga_compression = keyword_value(kw_compression, "RLE");
  EXPECT_EQ(save_flags(s, "bmp"), BMP_SAVE_RLE);
  EXPECT_EQ(save_flags(s, "tga"), TARGA_SAVE_RLE);
  s.bmp_compression = keyword_value(kw_compression, "LZW");
  EXPECT_EQ(save_flags(s, "bmp"), 0);

  EXPECT_EQ(save_flags(s, "exr"), EXR_NONE);
  s.exr_compression = keyword_value(kw_compression, "B44");
  EXPECT_EQ(save_flags(s, "exr"), EXR_B44);
  s.exr_compression = -3;
  EXPECT_EQ(save_flags(s, "exr"), 0);
}

TEST_F(SaveFlags, FixedFlagsAndWritersWithoutFlags) {
  EXPECT_EQ(save_flags(s, "jxr"), JXR_LOSSLESS);
  EXPECT_EQ(save_flags(s, "webp"), WEBP_LOSSLESS);
  s.psd_bpp = 32;
  s.png_interlaced = 1;
  s.bmp_compression = 1;
  for (const char *extension : {"psd", "dds", "pcx", "gif", "xpm", "unknown", ""})
    EXPECT_EQ(save_flags(s, extension), 0) << extension;
}

} // namespace
} // namespace lumbrix
