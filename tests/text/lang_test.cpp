#include "text/lang.h"
#include "text/lang_data.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

const QString missing = QStringLiteral("%NO_STRING_ERROR%");

class Lang : public ::testing::Test {
protected:
  void SetUp() override { lang_load(); }
  void TearDown() override { lang_load(); }
};

TEST_F(Lang, EveryBuiltInPairIsFoundUnderItsGroup) {
  QString group;
  int groups = 0;
  int entries = 0;
  for (const LangPair *pair = built_in_lang_data(); QString::fromUtf16(pair->key) != u"_END_";
       ++pair) {
    const QString key = QString::fromUtf16(pair->key);
    const QString text = QString::fromUtf16(pair->text);
    if (key == u"_GROUP_") {
      group = text;
      ++groups;
      continue;
    }
    ++entries;
    EXPECT_EQ(lang(group, key), text) << group.toStdString() << "/" << key.toStdString();
  }
  EXPECT_EQ(groups, 10);
  EXPECT_GT(entries, 300);
}

TEST_F(Lang, GroupsHoldTheirTexts) {
  EXPECT_EQ(lang("Menu", "Custom Converter"), "Find a File Converter...");
  EXPECT_EQ(lang("General", "Preparing"), "Preparing...");
  EXPECT_EQ(lang("Msg", "Invalid input folder"),
            "The following input folder is invalid or doesn't exist:\r\n%s1%\r\n\r\n"
            "Please, correct the input path and try again!");
  EXPECT_EQ(lang("Dialog", "Convert Progress"), "Converting");
  EXPECT_EQ(lang("Preferences", "Title"), "Preferences...");
  EXPECT_EQ(lang("Preferences", "Save window position"), "Save Window's Coords:");
  EXPECT_EQ(lang("Preferences", "Catmullrom"), "Catmull-Rom Spline");
  EXPECT_EQ(lang("Preferences", "Medium"), "Medium");
  EXPECT_EQ(lang("Preferences", "Violet"), "Violet");
  EXPECT_EQ(lang("Preferences", "Csv Delimiter"), "CSV Delimiter:");
  EXPECT_EQ(lang("About", "Website"), "Web:");
  EXPECT_EQ(lang("Custom-Converter", "Title"), "Find a File Converter");
  EXPECT_EQ(lang("Uninstall", "Uninstall Text"), "Full Uninstall - Visit Uninstall Center");
}

TEST_F(Lang, TextsNamedElsewhereResolve) {
  const char *names[][2] = {
      {"Menu", "File"},
      {"Menu", "New"},
      {"Menu", "Select Input File"},
      {"Menu", "Select Output Folder"},
      {"Menu", "Output Format Options"},
      {"Menu", "Exit"},
      {"Menu", "Converter"},
      {"Menu", "Convert"},
      {"Menu", "Preferences"},
      {"Menu", "Help"},
      {"Menu", "Manual"},
      {"Menu", "Send Feedback"},
      {"Menu", "Visit Homepage"},
      {"Menu", "Check For New Version"},
      {"Menu", "About"},
      {"General", "Input File"},
      {"General", "Output Folder"},
      {"General", "Output Format"},
      {"General", "Ready"},
      {"General", "Importing"},
      {"General", "Converting"},
      {"Msg", "Warning"},
      {"Msg", "Ask break conversion"},
      {"Msg", "Ask break export"},
      {"Msg", "Ask break import"},
      {"Msg", "Ask check for updates"},
      {"Msg", "Check for Updates"},
      {"Msg", "Reset to Defaults"},
      {"Msg", "Ask reset to defaults"},
      {"Msg", "Empty extensions"},
      {"Msg", "Empty input files"},
      {"Msg", "Empty output folder"},
      {"Msg", "Empty watermark image"},
      {"Msg", "Import complete"},
      {"Msg", "Internet connection problems"},
      {"Msg", "Invalid width"},
      {"Msg", "Invalid height"},
      {"Msg", "Invalid output folder"},
      {"Msg", "Invalid watermark font"},
      {"Msg", "Invalid watermark image"},
      {"Msg", "New Update"},
      {"Msg", "New Update Text"},
      {"Msg", "No Update"},
      {"Msg", "No Update Text"},
      {"Dialog", "All Files"},
      {"Dialog", "All Supported Files"},
      {"Dialog", "Cancel"},
      {"Dialog", "Defaults"},
      {"Dialog", "OK"},
      {"Dialog", "Select Input Files"},
      {"Dialog", "Select Output Folder"},
      {"Dialog", "Select Watermark Image"},
      {"About", "Title"},
      {"About", "Email"},
      {"Custom-Converter", "From"},
      {"Custom-Converter", "To"},
      {"Custom-Converter", "Search"},
      {"Uninstall", "Title"},
      {"Uninstall", "Next"},
  };
  for (const auto &name : names)
    EXPECT_NE(lang(name[0], name[1]), missing) << name[0] << "/" << name[1];

  // The console run's status lines.
  EXPECT_EQ(lang("Msg", "Conversion complete"), "Conversion complete");
  EXPECT_EQ(lang("Msg", "Conversion is not complete"), "Conversion stopped");
  EXPECT_EQ(lang_format(lang("Msg", "Files converted"), "1", "1"), "Files converted: 1 of 1");
  EXPECT_EQ(lang_format(lang("Msg", "Progress"), "1", "1"), "(1/1)");
}

TEST_F(Lang, GroupAndKeyMatchWithoutRegardToCase) {
  EXPECT_EQ(lang("preferences", "bold italic"), "Bold Italic");
  EXPECT_EQ(lang("MSG", "ASK RESET TO DEFAULTS"),
            "Are you sure you want to reset all your settings to the default values?");
  EXPECT_EQ(lang("custom-converter", "search"), "Search");
}

TEST_F(Lang, KeyThatPrefixesAnotherFindsItself) {
  EXPECT_EQ(lang("Preferences", "Bold"), "Bold");
  EXPECT_EQ(lang("Preferences", "Bold Italic"), "Bold Italic");
  EXPECT_EQ(lang("Preferences", "Bold"), "Bold");
  EXPECT_EQ(lang("Preferences", "Image"), "Image:");
  EXPECT_EQ(lang("Preferences", "Image Greyscale"), "Greyscale Image:");
  EXPECT_EQ(lang("Msg", "Import complete"), "Import complete, new files added: %s1%");
  EXPECT_EQ(lang("Msg", "Import is not complete"), "Import stopped");
}

TEST_F(Lang, MissingNamesGiveTheErrorTextAndLeaveLookupWorking) {
  EXPECT_EQ(lang("Msg", "No such key"), missing);
  EXPECT_EQ(lang("Msg", "Error"), "Error");
  EXPECT_EQ(lang("No such group", "Error"), missing);
  EXPECT_EQ(lang("Msg", "Error"), "Error");
  EXPECT_EQ(lang("", "Error"), missing);
  EXPECT_EQ(lang("Msg", "Error"), "Error");
  // Past the last key of its initial, past the last key of the group, a prefix of a key, none.
  EXPECT_EQ(lang("Msg", "Errors"), missing);
  EXPECT_EQ(lang("Msg", "Zzz"), missing);
  EXPECT_EQ(lang("Msg", "Err"), missing);
  EXPECT_EQ(lang("Msg", ""), missing);
  // The same key in another group.
  EXPECT_EQ(lang("Dialog", "Help"), "Help");
  EXPECT_EQ(lang("Menu", "Select Input File"), "Add Input File...");
  EXPECT_EQ(lang("Dialog", "Select Input File"), missing);
}

TEST_F(Lang, KeyBeginningBeyondLatin1FindsNothing) {
  EXPECT_EQ(lang("Msg", QString(QChar(0x0100)) + "rror"), missing);
  EXPECT_EQ(lang("Msg", QString(QChar(0x4E2D))), missing);
  EXPECT_EQ(lang("Msg", "Error"), "Error");
}

TEST(LangData, OwnDataIsSortedIndexedAndBounded) {
  const LangPair data[] = {
      {u"_GROUP_", u"Empty"},    {u"_group_", u"Latin"}, {u"\u00e9chelle", u"scale"},
      {u"\u00ffacute", u"far"},  {u"beta", u"b"},        {u"Alpha", u"a"},
      {u"_GROUP_", u"Trailing"}, {u"_END_", u""},        {u"after", u"never read"},
  };
  lang_load_data(data, QString());
  EXPECT_EQ(lang("Empty", "Alpha"), missing);
  EXPECT_EQ(lang("Latin", "ALPHA"), "a");
  EXPECT_EQ(lang("latin", "Beta"), "b");
  EXPECT_EQ(lang("Latin", QString::fromUtf16(u"\u00c9CHELLE")), "scale");
  // Upper-cases to U+0178, past the index: stored without harm, never found.
  EXPECT_EQ(lang("Latin", QString::fromUtf16(u"\u00ffacute")), missing);
  EXPECT_EQ(lang("Trailing", "after"), missing);

  const LangPair nothing[] = {{u"_END_", u""}};
  lang_load_data(nothing, QString());
  EXPECT_EQ(lang("Latin", "Alpha"), missing);
  lang_load();
}

TEST(LangFormat, FillsPlaceholdersInOrder) {
  EXPECT_EQ(lang_format("Files converted: %s1% of %s2%", "3", "10", "", ""),
            "Files converted: 3 of 10");
  EXPECT_EQ(lang_format("%S1% and %s1%, %s4%", "x", "", "", "y"), "x and x, y");
  // A value put in for %s1% that holds %s2% is filled by the next step.
  EXPECT_EQ(lang_format("[%s1%]", "%s2%", "two"), "[two]");
  EXPECT_EQ(lang_format("%s1%", "%s1%"), "%s1%");
}

TEST(LangFormat, EmptyArgumentsAndTextsStayAsTheyAre) {
  EXPECT_EQ(lang_format("Unable to open the file: %s1%!", ""), "Unable to open the file: %s1%!");
  EXPECT_EQ(lang_format("%s1% of %s2%", "", "7"), "%s1% of 7");
  EXPECT_EQ(lang_format("", "a", "b", "c", "d"), "");
}

class LangFile : public Lang {
protected:
  QString write(const QByteArray &content) {
    const QString path = dir.filePath("lang.ini");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
  }
  QTemporaryDir dir;
};

TEST_F(LangFile, OverlayReplacesTheTextsItNames) {
  lang_load(write("\xEF\xBB\xBF[msg]\r\nerror = Fehler\r\nWARNING = Warnung \r\n"
                  "[Preferences]\r\nmedium = Mittel\r\nBold Italic = Fett kursiv\r\n"
                  "[Uninstall]\r\nNext =\r\n[Nowhere]\r\nError = x\r\n"));
  EXPECT_EQ(lang("Msg", "Error"), "Fehler");
  EXPECT_EQ(lang("Msg", "Warning"), "Warnung ");
  EXPECT_EQ(lang("Msg", "Progress"), "(%s1%/%s2%)");
  EXPECT_EQ(lang("Preferences", "Medium"), "Mittel");
  EXPECT_EQ(lang("Preferences", "Bold Italic"), "Fett kursiv");
  EXPECT_EQ(lang("Preferences", "Bold"), "Bold");
  EXPECT_EQ(lang("Uninstall", "Next"), "");
  EXPECT_EQ(lang("Dialog", "OK"), "OK");
  EXPECT_EQ(lang("Nowhere", "Error"), missing);
}

TEST_F(LangFile, OverlayReadsUtf8WithoutByteOrderMark) {
  lang_load(write("[Dialog]\nCancel=Abbr\xC3\xA9ger\n"));
  // The built-in texts wait for the first lookup; a language file is read when loaded.
  ASSERT_TRUE(QFile::remove(dir.filePath("lang.ini")));
  EXPECT_EQ(lang("Dialog", "Cancel"), QString::fromUtf16(u"Abbr\u00e9ger"));
}

TEST_F(LangFile, UnopenableFileKeepsTheBuiltInTexts) {
  lang_load(dir.filePath("absent.ini"));
  EXPECT_EQ(lang("Msg", "Error"), "Error");
  lang_load(dir.path());
  EXPECT_EQ(lang("Msg", "Error"), "Error");
}

} // namespace
} // namespace lumbrix
