#include "engine/settings/format_catalogue.h"

#include <FreeImage.h>
#include <IL/il.h>
#include <gtest/gtest.h>

#include <utility>

namespace lumbrix {
namespace {

// The catalogue is constant data: nothing sets it up before these run.
class FormatCatalogue : public ::testing::Test {};

TEST_F(FormatCatalogue, MapsHoldEveryFormat) {
  EXPECT_EQ(input_format_map().size(), 79u);
  EXPECT_EQ(output_format_map().size(), 23u);
}

TEST_F(FormatCatalogue, AliasesCarryTheirGroupsCanonicalAndDescription) {
  const std::pair<const char *, InputFormat> cases[] = {
      {"jpe", {"jpg", "JPEG File"}},
      {"targa", {"tga", "Truevision Targa"}},
      {"dib", {"bmp", "Windows or OS/2 Bitmap"}},
      {"pcds", {"pcd", "Kodak PhotoCD File"}},
      {"wmz", {"wmf", "Windows Metafile Format"}},
      {"apm", {"wmf", "Aldus Placeable Metafile"}},
      {"raw2", {"raw", "Camera RAW Image"}},
      {"sr2", {"raw", "Sony Camera RAW Image"}},
      {"dcs", {"raw", "Kodak Camera RAW Image"}},
      {"rwl", {"raw", "Leica Camera RAW Image"}},
  };
  for (const auto &[extension, expected] : cases) {
    const InputFormat found = input_format(extension);
    EXPECT_EQ(found.canonical, expected.canonical) << extension;
    EXPECT_EQ(found.description, expected.description) << extension;
  }
}

TEST_F(FormatCatalogue, EveryCanonicalExtensionIsItselfAnEntry) {
  for (const auto &[extension, format] : input_format_map()) {
    EXPECT_EQ(input_format(format.canonical).canonical, format.canonical)
        << extension.toStdString();
    EXPECT_EQ(extension, extension.toLower());
  }
  for (const auto &[extension, format] : output_format_map())
    EXPECT_EQ(format.canonical, extension);
}

TEST_F(FormatCatalogue, LookupsAreCaseSensitiveAndMissingKeysGiveEmptyEntries) {
  EXPECT_EQ(input_format("png").description, "Portable Network Graphics");
  EXPECT_TRUE(input_format("PNG").canonical.isEmpty());
  EXPECT_TRUE(input_format("PNG").description.isEmpty());
  const OutputFormat missing = output_format("PSD");
  EXPECT_EQ(missing.id, 0);
  EXPECT_TRUE(missing.canonical.isEmpty());
  EXPECT_TRUE(missing.description.isEmpty());
  EXPECT_TRUE(missing.bit_depths.isEmpty());
}

TEST_F(FormatCatalogue, OutputIdsAreTheWritingLibrariesOwnIds) {
  EXPECT_EQ(output_format("psd").id, 1081);
  EXPECT_EQ(output_format("psd").id, IL_PSD);
  EXPECT_EQ(output_format("psd").id, devil_psd_type);
  EXPECT_EQ(output_format("dds").id, 1079);
  EXPECT_EQ(output_format("dds").id, IL_DDS);
  EXPECT_EQ(output_format("pcx").id, 1064);
  EXPECT_EQ(output_format("pcx").id, IL_PCX);
  const std::pair<const char *, int> freeimage[] = {
      {"bmp", FIF_BMP},   {"exr", FIF_EXR},   {"gif", FIF_GIF},   {"hdr", FIF_HDR},
      {"ico", FIF_ICO},   {"j2k", FIF_J2K},   {"jng", FIF_JNG},   {"jp2", FIF_JP2},
      {"jpg", FIF_JPEG},  {"jxr", FIF_JXR},   {"pbm", FIF_PBM},   {"pfm", FIF_PFM},
      {"pgm", FIF_PGM},   {"png", FIF_PNG},   {"ppm", FIF_PPM},   {"tga", FIF_TARGA},
      {"tiff", FIF_TIFF}, {"wbmp", FIF_WBMP}, {"webp", FIF_WEBP}, {"xpm", FIF_XPM}};
  for (const auto &[extension, id] : freeimage)
    EXPECT_EQ(output_format(extension).id, id) << extension;
}

TEST_F(FormatCatalogue, EachMapKeepsItsOwnDescriptions) {
  EXPECT_EQ(output_format("psd").description, "Adobe Photoshop");
  EXPECT_EQ(input_format("psd").description, "Adobe Photoshop File");
  EXPECT_EQ(output_format("gif").description, "Graphics Interchange Format");
  EXPECT_EQ(input_format("gif").description, "GIF File");
  EXPECT_EQ(output_format("tiff").bit_depths, "1,4,8,24,32,48,96");
}

TEST_F(FormatCatalogue, BitDepthsFollowEachFormatsList) {
  EXPECT_TRUE(bpp_allowed("psd", 32));
  EXPECT_TRUE(bpp_allowed("psd", 64));
  EXPECT_TRUE(bpp_allowed("psd", 0));
  EXPECT_FALSE(bpp_allowed("psd", 24));
  EXPECT_FALSE(bpp_allowed("png", 16));
  EXPECT_TRUE(bpp_allowed("png", 48));
  EXPECT_TRUE(bpp_allowed("bmp", 16));
  EXPECT_FALSE(bpp_allowed("xyz", 8));
  EXPECT_TRUE(bpp_allowed("xyz", 0));
  EXPECT_FALSE(bpp_allowed("PSD", 32));
  // A depth is matched as a number, not as a piece of the text.
  EXPECT_FALSE(bpp_allowed("bmp", 2));
  EXPECT_FALSE(bpp_allowed("exr", 9));
}

TEST_F(FormatCatalogue, EveryListedDepthIsANumberItsFormatAllows) {
  for (const auto &[extension, format] : output_format_map()) {
    for (const QString &field : format.bit_depths.split(',')) {
      bool ok = false;
      const int depth = field.toInt(&ok);
      ASSERT_TRUE(ok) << extension.toStdString() << ": " << field.toStdString();
      EXPECT_TRUE(bpp_allowed(extension, depth));
    }
  }
}

TEST_F(FormatCatalogue, AcceptedExtensionsComeFromTheBuildsInputFormats) {
  EXPECT_EQ(accepted_extensions(), QStringList{"png"});
  EXPECT_EQ(extensions_of_formats({"jpg"}), (QStringList{"jif", "jpe", "jpeg", "jpg"}));
  EXPECT_EQ(extensions_of_formats({"wmf", "tga"}),
            (QStringList{"apm", "wmf", "wmz", "targa", "tga"}));
  EXPECT_EQ(extensions_of_formats({"raw"}).size(), 48);
  // No match gives no extensions, not one empty one that would accept extensionless files.
  EXPECT_TRUE(extensions_of_formats({"xyz"}).isEmpty());
  EXPECT_TRUE(extensions_of_formats({}).isEmpty());
}

TEST_F(FormatCatalogue, ListingAndOutputChecksAreCaseSensitive) {
  EXPECT_TRUE(is_listed("png", accepted_extensions()));
  EXPECT_FALSE(is_listed("PNG", accepted_extensions()));
  EXPECT_FALSE(is_listed("", accepted_extensions()));
  EXPECT_TRUE(is_output_extension("psd"));
  EXPECT_FALSE(is_output_extension("PSD"));
  EXPECT_FALSE(is_output_extension("png"));
}

} // namespace
} // namespace lumbrix
