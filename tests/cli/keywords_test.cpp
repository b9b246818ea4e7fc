#include "cli/keywords.h"

#include <gtest/gtest.h>

#include <array>

namespace lumbrix {
namespace {

TEST(KeywordValue, UpperCasesTheTextAndGivesZeroForUnknownWords) {
  EXPECT_EQ(keyword_value(kw_frame_loading, "middle"), 2);
  EXPECT_EQ(keyword_value(kw_frame_loading, "Middle"), 2);
  EXPECT_EQ(keyword_value(kw_frame_loading, "second"), 0);
  // Trimming is the caller's job.
  EXPECT_EQ(keyword_value(kw_frame_loading, "Middle "), 0);
  EXPECT_EQ(keyword_value(kw_position, "bottomRight"), 8);
  EXPECT_EQ(keyword_value(kw_raw_load, "48hs"), 4);
  EXPECT_EQ(keyword_value(kw_raw_load, "48"), 5);
}

TEST(KeywordValue, CompressionKeywordsShareValuesAndNamesResolveToTheFirst) {
  EXPECT_EQ(keyword_value(kw_compression, "zip"), 1);
  EXPECT_EQ(keyword_value(kw_compression, "RLE"), 1);
  EXPECT_EQ(keyword_value(kw_compression, "ZLIB9"), 3);
  EXPECT_EQ(keyword_value(kw_compression, "CCITTFAX4"), 2);
  EXPECT_EQ(keyword_value(kw_compression, "LOGLUV"), 8);
  const std::array<const char *, 9> expected = {"NONE",         "RLE", "PIZ",  "PXR24", "B44",
                                                "ADOBEDEFLATE", "LZW", "JPEG", "LOGLUV"};
  for (int value = 0; value < static_cast<int>(expected.size()); ++value)
    EXPECT_EQ(keyword_name(kw_compression, value), expected[value]) << value;
}

TEST(KeywordValue, PrintOnlyAndSingleKeywordTablesGiveZero) {
  EXPECT_EQ(keyword_value(kw_frame_kind, "SOLID"), 0);
  EXPECT_EQ(keyword_value(kw_watermark_kind, "IMAGE"), 0);
  EXPECT_EQ(keyword_name(kw_watermark_kind, 2), "IMAGE");
  EXPECT_EQ(keyword_value(kw_size, "FIXED"), 0);
  EXPECT_EQ(keyword_value(kw_size, "SCALED"), 0);
  EXPECT_EQ(keyword_name(kw_size, 0), "FIXED");
  EXPECT_EQ(keyword_name(kw_size, 1), "");
}

TEST(KeywordTables, UnknownTablesAndValuesGiveNothing) {
  EXPECT_EQ(keyword_value(-1, "AUTO"), 0);
  EXPECT_EQ(keyword_value(22, "AUTO"), 0);
  EXPECT_TRUE(keyword_name(-1, 0).isEmpty());
  EXPECT_TRUE(keyword_name(22, 0).isEmpty());
  EXPECT_TRUE(keyword_name(kw_position, 9).isEmpty());
  EXPECT_TRUE(keyword_name(kw_position, -1).isEmpty());
}

TEST(KeywordTables, FontEffectKeepsItsSpellingBothWays) {
  EXPECT_EQ(keyword_name(kw_font_effect, 2), "STRIKETHROUGHT");
  EXPECT_EQ(keyword_value(kw_font_effect, "strikethrought"), 2);
  EXPECT_EQ(keyword_value(kw_font_effect, "STRIKETHROUGH"), 0);
}

// Each table runs 0..max without gaps, and every printed keyword reads back as its value.
TEST(KeywordTables, EveryTableCoversItsValuesAndRoundTrips) {
  const std::array<int, 22> highest = {2, 5, 4, 4, 8, 1, 2, 3, 3, 1, 1,
                                       1, 5, 1, 2, 3, 2, 2, 1, 8, 0, 2};
  for (int table = 0; table < static_cast<int>(highest.size()); ++table) {
    for (int value = 0; value <= highest[table]; ++value) {
      const QString name = keyword_name(table, value);
      ASSERT_FALSE(name.isEmpty()) << table << " " << value;
      EXPECT_EQ(name, name.toUpper());
      if (table != kw_frame_kind && table != kw_watermark_kind) {
        EXPECT_EQ(keyword_value(table, name.toLower()), value) << table << " " << value;
      }
    }
    EXPECT_TRUE(keyword_name(table, highest[table] + 1).isEmpty()) << table;
  }
}

TEST(KeywordTables, SpotChecksOfTheOptionVocabulary) {
  EXPECT_EQ(keyword_name(kw_dds_load, 1), "BGRA");
  EXPECT_EQ(keyword_name(kw_tone_mapping, 3), "DRR");
  EXPECT_EQ(keyword_name(kw_color_model, 1), "CMYK");
  EXPECT_EQ(keyword_name(kw_chroma, 3), "HIGH");
  EXPECT_EQ(keyword_name(kw_jpeg_save, 2), "OPTIMIZED");
  EXPECT_EQ(keyword_name(kw_rotation_type, 1), "ADVANCED");
  EXPECT_EQ(keyword_name(kw_size_unit, 1), "PERCENT");
  EXPECT_EQ(keyword_name(kw_resize_type, 1), "LARGEIMAGES");
  EXPECT_EQ(keyword_name(kw_resize_algorithm, 4), "CATMULLROM");
  EXPECT_EQ(keyword_name(kw_font_style, 3), "BOLDITALIC");
  EXPECT_EQ(keyword_name(kw_alignment, 1), "CENTER");
  EXPECT_EQ(keyword_name(kw_boundary, 1), "FRAME");
  EXPECT_EQ(keyword_name(kw_position, 4), "MIDDLECENTER");
  EXPECT_EQ(keyword_name(kw_timestamp, 2), "CUSTOM");
}

} // namespace
} // namespace lumbrix
