#include "engine/settings/naming.h"
#include "platform/paths.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class Naming : public ::testing::Test {
protected:
  TokenValues values{QString(), QStringLiteral("psd"),       32, 640, 480, 7,
                     1,         QDateTime::currentDateTime()};

  QString name_for(const QString &input, const QString &mask) {
    values.input_path = input;
    values.now = QDateTime::currentDateTime();
    return build_file_name(mask, values);
  }
};

TEST_F(Naming, DefaultMaskKeepsEverythingBeforeTheLastDot) {
  EXPECT_EQ(name_for("C:\\In\\Photo.Final.PNG", "%filename%.%ext%"), "Photo.Final.psd");
  EXPECT_EQ(name_for("/in/Photo.Final.PNG", ""), "Photo.Final.psd");
  EXPECT_EQ(name_for("/in.d/noext", ""), "noext.psd");
  EXPECT_EQ(base_name("/in/.png"), "");
  EXPECT_EQ(base_name("a\\b.c.d"), "b.c");
}

TEST_F(Naming, MaskTextIsLowerCasedButValuesKeepTheirCase) {
  EXPECT_EQ(name_for("/in/cat.png", "IMG_%filename[u]%_%n%.%ext%"), "img_CAT_00001.psd");
  EXPECT_EQ(name_for("/in/hELLO.png", "%filename[t]%-%filename[l]%-%ext[t]%-%ext[u]%"),
            "Hello-hello-Psd-PSD");
  EXPECT_EQ(name_for("/in/ärger.png", "%FILENAME[U]%.%EXT%"), "ÄRGER.psd");
}

TEST_F(Naming, NumbersAreWrittenInDecimalAndPaddedOrCutToFive) {
  EXPECT_EQ(name_for("/in/a.png", "%bpp%_%width%x%height%_%rnd%_%n%"), "32_640x480_00007_00001");
  values.random = 99999;
  values.sequence = 1234567;
  EXPECT_EQ(name_for("/in/a.png", "%rnd%_%n%"), "99999_12345");
}

TEST_F(Naming, DateAndTimeComeFromTheLocalClock) {
  const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
  const QString name = name_for("/in/a.png", "%yyyy%-%mm%-%dd% %hh%:%ii%:%ss%");
  const QDateTime after = QDateTime::currentDateTime().addSecs(1);
  const QDateTime stamp = QDateTime::fromString(name, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
  ASSERT_TRUE(stamp.isValid()) << name.toStdString();
  EXPECT_LE(before, stamp);
  EXPECT_GE(after, stamp);
}

TEST_F(Naming, AValueHoldingALaterTokenIsExpandedAgain) {
  EXPECT_EQ(name_for("/in/%n%.png", ""), "00001.psd");
  EXPECT_EQ(name_for("/in/%N%.png", "%filename[u]%"), "00001");
}

TEST_F(Naming, ExpandTokenIgnoresCaseAndUnknownTokens) {
  values.input_path = QStringLiteral("/in/cat.png");
  EXPECT_EQ(expand_token("a %FiLeNaMe% b %filename%", "%FILENAME%", values), "a cat b cat");
  EXPECT_EQ(expand_token("a %filename% b", "%nope%", values), "a %filename% b");
  EXPECT_EQ(expand_token("%ext%", "%ext%", values), "psd");
}

TEST_F(Naming, OutputFolderAddsTheSubfolderOnlyWhenKept) {
  Settings s = default_settings(SettingsUse::Window);
  const QString subfolder = QStringLiteral("2024/");
  EXPECT_EQ(output_folder_of("/out/", subfolder, s), "/out/2024/");
  s.keep_subfolders = 0;
  EXPECT_EQ(output_folder_of("/out/", subfolder, s), "/out/");
}

// A file name alone: nothing that climbs out of the folder, goes below it or names nothing.
TEST_F(Naming, OutputNamesAreOneFileName) {
  for (const char *name : {"cat.psd", "a..b.psd", "...", ".hidden.psd", "%n%.psd"})
    EXPECT_EQ(output_name_problem(QString::fromLatin1(name)), "") << name;
  const QString refused[] = {"",          "..",        ".",        "../docs/notes.txt",
                             "sub/x.psd", "..\\x.psd", "/abs.psd", QString("a") + QChar(0) + "b"};
  for (const QString &name : refused)
    EXPECT_FALSE(output_name_problem(name).isEmpty()) << name.toStdString();
  EXPECT_EQ(output_name_problem("../docs/notes.txt"),
            "the name \"../docs/notes.txt\" from the file name mask holds a folder separator; it "
            "must be a file name alone");
}

TEST_F(Naming, WatermarkTextKeepsItsCaseAndUsesTheImageItMarks) {
  const auto marked = [this](const QString &input, int width, int height, int bpp) {
    TokenValues v = values;
    v.input_path = input;
    v.width = width;
    v.height = height;
    v.bpp = bpp;
    return v;
  };
  EXPECT_EQ(expand_watermark_text("Shot %FileName% at %WIDTH%x%height%, %BPP% bit",
                                  marked("/in/Cat.png", 320, 200, 24)),
            "Shot Cat at 320x200, 24 bit");
  EXPECT_EQ(expand_watermark_text("100% %filename", marked("/in/Cat.png", 1, 1, 1)),
            "100% %filename");
  // Only tokens present in the text as written are looked for.
  EXPECT_EQ(expand_watermark_text("%filename% %bpp%", marked("/in/%n%.png", 1, 1, 8)), "%n% 8");
}

} // namespace
} // namespace lumbrix
