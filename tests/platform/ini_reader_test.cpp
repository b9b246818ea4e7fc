#include "platform/ini_reader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

IniFile parsed(const QByteArray &content) {
  IniFile file;
  file.parse(content);
  return file;
}

TEST(IniReader, SectionsAndKeysMatchWithoutRegardToCase) {
  const IniFile file = parsed("\xEF\xBB\xBF\r\n[General]\r\nCFG = 17\r\nUpdate Range = 2\r\n; \r\n"
                              "[ Watermark ]\r\nFont = Arial\r\n");
  EXPECT_TRUE(file.has_section("general"));
  EXPECT_TRUE(file.has_section("WATERMARK"));
  EXPECT_FALSE(file.has_section("Window"));
  EXPECT_EQ(file.value("GENERAL", "update range"), "2");
  EXPECT_EQ(file.value("Watermark", "FONT"), "Arial");
  EXPECT_TRUE(file.contains("general", "cfg"));
  EXPECT_FALSE(file.contains("Watermark", "CFG"));
  EXPECT_EQ(file.value("Watermark", "CFG", "none"), "none");
  EXPECT_EQ(file.value("Window", "X", "none"), "none");
}

TEST(IniReader, ValuesKeepTheirBlanksButTheSeparators) {
  const IniFile file = parsed("[S]\nLanguage =  en \nTight=1\n  Indented  =\tx\r\n"
                              "Empty =\nEquals = a=b\nLatin = \xC3\xA9t\xC3\xA9\n");
  EXPECT_EQ(file.value("S", "Language"), " en ");
  EXPECT_EQ(file.value("S", "Tight"), "1");
  EXPECT_EQ(file.value("S", "Indented"), "\tx");
  EXPECT_TRUE(file.contains("S", "Empty"));
  EXPECT_EQ(file.value("S", "Empty", "fallback"), "");
  EXPECT_EQ(file.value("S", "Equals"), "a=b");
  EXPECT_EQ(file.value("S", "Latin"), QString::fromUtf16(u"\u00e9t\u00e9"));
}

TEST(IniReader, KeysKeepFileOrderAndTheFirstValueCounts) {
  const IniFile file = parsed("top = 0\n[CLI]\n--WIDTH=640\nnot a key line\n; --HEIGHT=1\n"
                              "--width=800\n[Other]\nk=v\n[cli]\n--Height=480\n");
  EXPECT_EQ(file.keys("cli"), QStringList({"--WIDTH", "--Height"}));
  EXPECT_EQ(file.value("CLI", "--width"), "640");
  EXPECT_EQ(file.keys(""), QStringList({"top"}));
  EXPECT_TRUE(file.keys("Missing").isEmpty());
}

TEST(IniReader, LoadReportsWhetherTheFileOpened) {
  QTemporaryDir dir;
  const QString path = dir.filePath("config.ini");
  IniFile file;
  EXPECT_FALSE(file.load(path));
  QFile out(path);
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write("[A]\r\nb = c\r\n");
  out.close();
  EXPECT_TRUE(file.load(path));
  EXPECT_EQ(file.value("a", "B"), "c");
  EXPECT_FALSE(file.load(dir.filePath("gone.ini")));
  EXPECT_FALSE(file.has_section("A"));
}

// Lines are put together across the reader's blocks; what is past the bounds is refused with
// its reason, and nothing of a refused file is kept.
TEST(IniReader, LoadReadsLongLinesWholeAndRefusesFilesPastItsBounds) {
  QTemporaryDir dir;
  const QString path = dir.filePath("profile.ini");
  const auto write = [&](const QByteArray &content) {
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(content);
  };
  const QByteArray long_value(ini_max_line_length - 16, 'x');
  write("\xEF\xBB\xBF[CLI]\r\n--WM-TEXT=" + long_value + "\r\n--WIDTH=7");
  IniFile file;
  ASSERT_TRUE(file.load(path));
  EXPECT_EQ(file.value("cli", "--wm-text"), QString::fromLatin1(long_value));
  EXPECT_EQ(file.value("cli", "--width"), "7");
  EXPECT_TRUE(file.error().isEmpty());

  const struct {
    QByteArray content;
    QString reason;
  } refused[] = {
      {"[CLI]\n--WIDTH=1\n" + QByteArray(ini_max_file_size, '\n'), path + " is larger than 2 MB"},
      {"[CLI]\n--WM-TEXT=" + QByteArray(ini_max_line_length, 'x') + "\n",
       "Line 2 of " + path + " is longer than 256 KB"},
  };
  for (const auto &[content, reason] : refused) {
    write(content);
    EXPECT_FALSE(file.load(path));
    EXPECT_EQ(file.error(), reason);
    EXPECT_FALSE(file.has_section("CLI"));
  }
}

} // namespace
} // namespace lumbrix
