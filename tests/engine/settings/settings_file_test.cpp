#include "engine/settings/settings.h"
#include "engine/settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace lumbrix {
namespace {

class SettingsFile : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    file_path = path();
  }

  QString path() const { return folder.filePath(QStringLiteral("config.ini")); }

  static Settings defaults() { return default_settings(SettingsUse::Window, QSize(1000, 800)); }

  // The file over the defaults, as the window front reads it.
  bool read() {
    record = defaults();
    return read_settings_file(file_path, record);
  }

  bool write() const { return write_settings_file(file_path, record); }

  QByteArray file_bytes() const {
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  void put_file(const QByteArray &bytes) const {
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  // The text of one section of the written file, from its header to its closing "; " line.
  QByteArray section_text(const QByteArray &name) const {
    const QByteArray bytes = file_bytes();
    const qsizetype start = bytes.indexOf("[" + name + "]\r\n");
    const qsizetype end = bytes.indexOf("; \r\n", start);
    return start < 0 || end < 0 ? QByteArray() : bytes.mid(start, end + 4 - start);
  }

  QTemporaryDir folder;
  QString file_path;
  Settings record = defaults();
};

TEST_F(SettingsFile, DefaultsRoundTripByteForByte) {
  ASSERT_TRUE(write());
  const QByteArray first = file_bytes();
  ASSERT_TRUE(read());
  ASSERT_TRUE(write());
  EXPECT_EQ(file_bytes(), first);
}

TEST_F(SettingsFile, ChangedValuesRoundTripByteForByte) {
  Settings &s = record;
  s.language = QStringLiteral(" de ");
  s.text = QStringLiteral("Grüße %eol% 日本");
  s.image_brightness = -42;
  s.image_gamma = 2.25f;
  s.text_position = 200;
  s.recent_files = QStringLiteral("/tmp/a.png|/tmp/b.png");
  ASSERT_TRUE(write());
  const QByteArray first = file_bytes();
  record = defaults();
  ASSERT_TRUE(read());
  EXPECT_EQ(s.language, " de ");
  EXPECT_EQ(s.text, QStringLiteral("Grüße %eol% 日本"));
  EXPECT_EQ(s.image_brightness, -42);
  EXPECT_EQ(s.text_position, 200);
  ASSERT_TRUE(write());
  EXPECT_EQ(file_bytes(), first);
}

TEST_F(SettingsFile, LayoutIsBomThenSectionsInOrderWithCrLfLines) {
  ASSERT_TRUE(write());
  const QByteArray bytes = file_bytes();
  EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF\r\n[General]\r\nCFG = 17\r\nLanguage = en\r\n"));
  EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
  QList<QByteArray> headers;
  for (const QByteArray &line : bytes.split('\n')) {
    if (line.startsWith('['))
      headers.append(line.chopped(1));
  }
  const QList<QByteArray> expected{"[General]",   "[Window]",    "[Interface]",  "[Input]",
                                   "[Output]",    "[Transform]", "[Adjustment]", "[Frame]",
                                   "[Watermark]", "[Advanced]",  "[File]",       "[Privacy]"};
  EXPECT_EQ(headers, expected);
  // Only the formats this build converts get their per-format keys.
  EXPECT_EQ(section_text("Input"), "[Input]\r\nFormat = png\r\n; \r\n");
  EXPECT_EQ(section_text("Output"), "[Output]\r\nFormat = psd\r\nPSD BPP = 0\r\nPSD Layers = 1\r\n"
                                    "PSD Compression = 1\r\n; \r\n");
  EXPECT_TRUE(bytes.endsWith("[Privacy]\r\nClean Recent Files = 0\r\n; \r\n"));
}

TEST_F(SettingsFile, WindowSectionFollowsSaveWindowPosition) {
  Settings &s = record;
  s.window_x = 333;
  s.window_width = 700;
  ASSERT_TRUE(write());
  EXPECT_EQ(section_text("Window"),
            "[Window]\r\nIsMaximized = 0\r\nWidth = 700\r\nHeight = 260\r\nX = 333\r\nY = 270\r\n; "
            "\r\n");

  s.save_window_position = 0;
  ASSERT_TRUE(write());
  EXPECT_EQ(section_text("Window"), "[Window]\r\n; \r\n");
  ASSERT_TRUE(read());
  // The next start takes the fallback placement, not the centred default.
  EXPECT_EQ(s.window_width, 510);
  EXPECT_EQ(s.window_height, 260);
  EXPECT_EQ(s.window_x, 100);
  EXPECT_EQ(s.window_y, 100);
}

TEST_F(SettingsFile, HandWrittenFileWithOddCaseSpacesAndUnknownParts) {
  put_file("[general]\n"
           "cfg=17\n"
           "LANGUAGE =  de \r\n"
           "[ TRANSFORM ]\r\n"
           "  image width  = 640px\r\n"
           "Do Image Resize = 257\r\n"
           "image rotation back color =   FF8000   \r\n"
           "Image Width = 12\r\n"
           "[Unknown Section]\r\n"
           "Image Height = 99\r\n"
           "; Image Height = 98\r\n"
           "[Adjustment]\r\n"
           "Image Brightness = abc\r\n"
           "Image Contrast = -17%\r\n"
           "No Such Key = 5\r\n"
           "[Watermark]\r\n"
           "Font Color =  FFFFFF \r\n"
           "Text Size = -1\r\n"
           "Text = \r\n");
  ASSERT_TRUE(read());
  const Settings &s = record;
  EXPECT_EQ(s.language, " de ");
  EXPECT_EQ(s.image_width, 640); // the first line of a key wins
  EXPECT_EQ(s.do_image_resize, 1);
  EXPECT_EQ(s.image_rotation_back_color, "FF8000");
  EXPECT_EQ(s.image_height, 0);
  EXPECT_EQ(s.image_brightness, 0);
  EXPECT_EQ(s.image_contrast, -17);
  EXPECT_EQ(s.font_color, "FFFFFF");
  EXPECT_EQ(s.text_size, 255);
  EXPECT_EQ(s.text, "");
  // Missing keys: fallbacks where they differ, defaults otherwise.
  EXPECT_EQ(s.keep_aspect_ratio, 1);
  EXPECT_EQ(s.image_resize_algorithm, 3);
  EXPECT_EQ(s.window_x, 100);
  EXPECT_FLOAT_EQ(s.image_gamma, 1.0f);
  EXPECT_EQ(s.filename_mask, "%filename%.%ext%");
  EXPECT_EQ(s.output_format, "psd");
}

TEST_F(SettingsFile, ColoursAreTrimmedButLanguageAndThemeAreNot) {
  put_file("\xEF\xBB\xBF\r\n[General]\r\nCFG = 17\r\nLanguage =  en \r\n"
           "[Interface]\r\nUI Theme =  mine \r\n"
           "[Frame]\r\nSolid Left Color =  00FF00 \r\n"
           "[Watermark]\r\nBack Colors =  000000,FFFFFF \r\nFont =  Tahoma \r\n");
  ASSERT_TRUE(read());
  const Settings &s = record;
  EXPECT_EQ(s.language, " en ");
  EXPECT_EQ(s.ui_theme, " mine ");
  EXPECT_EQ(s.solid_left_color, "00FF00");
  EXPECT_EQ(s.back_colors, "000000,FFFFFF");
  EXPECT_EQ(s.font, "Tahoma");
}

TEST_F(SettingsFile, OldVersionsAreMigrated) {
  const auto read_with = [&](const QByteArray &cfg, const QByteArray &mask, const QByteArray &raw) {
    put_file("[General]\r\n" + cfg + "[Input]\r\nRAW Load As = " + raw +
             "\r\n[Advanced]\r\nFilename Mask = " + mask + "\r\n");
    EXPECT_TRUE(read());
  };
  const Settings &s = record;
  read_with("CFG = 10\r\n", "%filename%", "1");
  EXPECT_EQ(s.filename_mask, "%filename%.%ext%");
  EXPECT_EQ(s.raw_load_as, 3);
  read_with("CFG = 17\r\n", "%filename%", "1");
  EXPECT_EQ(s.filename_mask, "%filename%");
  EXPECT_EQ(s.raw_load_as, 1);
  read_with("CFG = 13\r\n", "%filename%", "0");
  EXPECT_EQ(s.filename_mask, "%filename%");
  EXPECT_EQ(s.raw_load_as, 0);
  // Without CFG the file is the oldest kind; a token in capitals already names the extension.
  read_with("", "%filename%_%EXT%", "2");
  EXPECT_EQ(s.cfg, 0);
  EXPECT_EQ(s.filename_mask, "%filename%_%EXT%");
  EXPECT_EQ(s.raw_load_as, 4);
  // The writer stores the current version whatever was read.
  ASSERT_TRUE(write());
  EXPECT_TRUE(file_bytes().contains("\r\nCFG = 17\r\n"));
}

TEST_F(SettingsFile, GammaWrittenWithSixDecimalsAndSpecialValues) {
  Settings &s = record;
  put_file("[Adjustment]\r\nImage Gamma = 1.5\r\n");
  ASSERT_TRUE(read());
  EXPECT_FLOAT_EQ(s.image_gamma, 1.5f);
  ASSERT_TRUE(write());
  EXPECT_TRUE(file_bytes().contains("\r\nImage Gamma = 1.500000\r\n"));

  const float specials[] = {std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity()};
  const char *texts[] = {"+Infinity", "-Infinity"};
  for (int i = 0; i < 2; ++i) {
    s.image_gamma = specials[i];
    ASSERT_TRUE(write());
    EXPECT_TRUE(file_bytes().contains(QByteArray("\r\nImage Gamma = ") + texts[i] + "\r\n"));
    ASSERT_TRUE(read());
    EXPECT_EQ(s.image_gamma, specials[i]);
  }
  s.image_gamma = std::numeric_limits<float>::quiet_NaN();
  ASSERT_TRUE(write());
  EXPECT_TRUE(file_bytes().contains("\r\nImage Gamma = NaN\r\n"));
  ASSERT_TRUE(read());
  EXPECT_TRUE(std::isnan(s.image_gamma));
}

TEST_F(SettingsFile, MissingFileGivesDefaultsWithTheWindowCentred) {
  Settings &s = record;
  s.image_width = 77;
  s.cfg = 3;
  EXPECT_FALSE(read());
  EXPECT_EQ(s.image_width, 0);
  EXPECT_EQ(s.cfg, 17);
  EXPECT_EQ(s.window_x, (1000 - 510) / 2);
  EXPECT_EQ(s.window_y, (800 - 260) / 2);
  EXPECT_EQ(s.filename_mask, "%filename%.%ext%");
  EXPECT_EQ(s.keep_aspect_ratio, 1);
}

TEST_F(SettingsFile, LineBreaksInValuesCannotInjectKeys) {
  Settings &s = record;
  s.text = QStringLiteral("one\r\n[General]\r\nCFG = 3\ntwo");
  ASSERT_TRUE(write());
  ASSERT_TRUE(read());
  EXPECT_EQ(s.cfg, 17);
  EXPECT_EQ(s.text, "one [General] CFG = 3 two");
}

TEST_F(SettingsFile, WritesReplaceTheFileWholeOrNotAtAll) {
  put_file(QByteArray(5000, 'x'));
  ASSERT_TRUE(write());
  EXPECT_TRUE(file_bytes().startsWith("\xEF\xBB\xBF\r\n[General]"));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"config.ini"});

  file_path = folder.filePath(QStringLiteral("missing/config.ini"));
  QString reason;
  EXPECT_FALSE(write_settings_file(file_path, record, &reason));
  EXPECT_FALSE(reason.isEmpty());
  EXPECT_FALSE(QFile::exists(file_path));
}

TEST(SettingsValues, LeadingIntegerOfAValue) {
  EXPECT_EQ(leading_int(u"12px"), 12);
  EXPECT_EQ(leading_int(u"  -7 "), -7);
  EXPECT_EQ(leading_int(u"+3"), 3);
  EXPECT_EQ(leading_int(u"x1"), 0);
  EXPECT_EQ(leading_int(u""), 0);
  EXPECT_EQ(leading_int(u"-"), 0);
  EXPECT_EQ(leading_int(u"99999999999"), std::numeric_limits<int>::max());
  EXPECT_EQ(leading_int(u"-99999999999"), std::numeric_limits<int>::min());
}

TEST(SettingsValues, LeadingNumberOfAValue) {
  EXPECT_DOUBLE_EQ(leading_number(u"1.5e2x"), 150.0);
  EXPECT_DOUBLE_EQ(leading_number(u" .5"), 0.5);
  EXPECT_DOUBLE_EQ(leading_number(u"2e"), 2.0);
  EXPECT_DOUBLE_EQ(leading_number(u"-2.5;"), -2.5);
  EXPECT_DOUBLE_EQ(leading_number(u"abc"), 0.0);
  EXPECT_DOUBLE_EQ(leading_number(u"."), 0.0);
  EXPECT_TRUE(std::isinf(leading_number(u"+Infinity")));
  EXPECT_LT(leading_number(u"-Infinity"), 0.0);
  EXPECT_TRUE(std::isnan(leading_number(u"NaN")));
}

} // namespace
} // namespace lumbrix
