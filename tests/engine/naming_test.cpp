#include "engine/naming.h"
#include "engine/run_state.h"
#include "engine/settings.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class Naming : public ::testing::Test {
protected:
  void SetUp() override {
    set_defaults(false);
    reset_run_state();
    RunState &state = run_state();
    state.output_folder = QStringLiteral("/out/");
    state.output_extension = QStringLiteral("psd");
    state.output_bit_depth = 32;
    state.output_width = 640;
    state.output_height = 480;
    state.random_number = 7;
  }

  static QString name_for(const QString &input, const QString &mask) {
    run_state().input_path = input;
    settings().filename_mask = mask;
    return build_file_name();
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
  run_state().random_number = 99999;
  run_state().sequence_number = 1234567;
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
  run_state().input_path = QStringLiteral("/in/cat.png");
  EXPECT_EQ(expand_token("a %FiLeNaMe% b %filename%", "%FILENAME%"), "a cat b cat");
  EXPECT_EQ(expand_token("a %filename% b", "%nope%"), "a %filename% b");
  EXPECT_EQ(expand_token("%ext%", "%ext%"), "psd");
}

TEST_F(Naming, OutputPathAddsTheSubfolderOnlyWhenKept) {
  run_state().input_path = QStringLiteral("/in/2024/cat.png");
  run_state().relative_subfolder = QStringLiteral("2024/");
  EXPECT_EQ(build_output_path(), "/out/2024/cat.psd");
  settings().keep_subfolders = 0;
  EXPECT_EQ(build_output_path(), "/out/cat.psd");
}

TEST_F(Naming, WatermarkTextKeepsItsCaseAndUsesTheImageItMarks) {
  run_state().input_path = QStringLiteral("/in/Cat.png");
  EXPECT_EQ(expand_watermark_text("Shot %FileName% at %WIDTH%x%height%, %BPP% bit", 320, 200, 24),
            "Shot Cat at 320x200, 24 bit");
  EXPECT_EQ(expand_watermark_text("100% %filename", 1, 1, 1), "100% %filename");
  // Only tokens present in the text as written are looked for.
  run_state().input_path = QStringLiteral("/in/%n%.png");
  EXPECT_EQ(expand_watermark_text("%filename% %bpp%", 1, 1, 8), "%n% 8");
}

} // namespace
} // namespace lumbrix
