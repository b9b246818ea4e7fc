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

} // namespace
} // namespace lumbrix
