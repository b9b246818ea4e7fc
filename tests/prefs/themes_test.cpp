#include "prefs/image_tables.h"
#include "prefs/themes.h"
#include "prefs/window_settings.h"
#include "support/paths.h"
#include "support/zip_file.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

using test::ZipEntries;

QByteArray png(int width, int height) {
  QImage picture(width, height, QImage::Format_ARGB32);
  picture.fill(Qt::red);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return bytes;
}

// A program folder of its own with an empty gfx/ folder, and every image slot emptied.
class Themes : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(program.isValid());
    set_theme_folder(program.path() + QLatin1String("/gfx/"));
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("gfx")));
    settings().ui_theme = QStringLiteral("test");
    settings().ui_size = 2;
    for (ImageTable table : all_image_tables) {
      for (const NamedImage &named : image_names(table))
        set_image(named.number, QImage());
    }
    scan_themes();
  }
  void TearDown() override { set_theme_folder(QString()); }

  QString archive(const QString &theme) const { return theme_folder() + theme + ".zip"; }

  void put_theme(const QString &theme, const QByteArray &config, ZipEntries images = {}) {
    images.prepend({QStringLiteral("theme.cfg"), config});
    ASSERT_TRUE(test::write_zip(archive(theme), images));
  }

  static QSize size_of(ImageTable table, const QString &name) {
    return table_image(table, name).size();
  }

  QTemporaryDir program;
};

TEST_F(Themes, StemGetsTheSizeOfEachTable) {
  put_theme("test", "[Theme]\r\nName=Test\r\n[Icons]\r\nNew=new\r\n[Buttons]\r\nConvert=go\r\n",
            {{"new_16.png", png(16, 16)},
             {"new_32.png", png(32, 32)},
             {"go_16.png", png(16, 16)},
             {"go_32.png", png(31, 31)}});
  EXPECT_EQ(load_theme_images({ImageTable::Buttons, ImageTable::Menus, ImageTable::Toolbar}), 3);
  EXPECT_EQ(size_of(ImageTable::Toolbar, "New"), QSize(32, 32));
  EXPECT_EQ(size_of(ImageTable::Menus, "New"), QSize(16, 16));
  EXPECT_EQ(size_of(ImageTable::Buttons, "Convert"), QSize(16, 16));
  // [Icons] has no Convert line, so those images stay as they were.
  EXPECT_TRUE(table_image(ImageTable::Menus, "Convert").isNull());
  EXPECT_TRUE(table_image(ImageTable::Toolbar, "Add").isNull());
}

TEST_F(Themes, OnlyTheChosenTablesAreReloaded) {
  put_theme(
      "test", "[Icons]\r\nNew=new\r\n",
      {{"new_16.png", png(16, 16)}, {"new_24.png", png(24, 24)}, {"new_32.png", png(32, 32)}});
  settings().ui_size = 1;
  EXPECT_EQ(load_theme_images({ImageTable::Toolbar}), 1);
  EXPECT_EQ(size_of(ImageTable::Toolbar, "New"), QSize(24, 24));
  EXPECT_TRUE(table_image(ImageTable::Menus, "New").isNull());
}

TEST_F(Themes, FullEntryNameIsUsedAsIsForEverySize) {
  put_theme("test", "[Icons]\r\nNew = icons/new.PNG \r\n", {{"icons/new.PNG", png(20, 20)}});
  EXPECT_EQ(load_theme_images({ImageTable::Menus, ImageTable::Toolbar}), 2);
  EXPECT_EQ(size_of(ImageTable::Menus, "New"), QSize(20, 20));
  EXPECT_EQ(size_of(ImageTable::Toolbar, "New"), QSize(20, 20));
}

TEST_F(Themes, FirstLineStartingWithTheNameWins) {
  put_theme("test", "[Icons]\r\nNewFile=page\r\nNew=new\r\n",
            {{"page_16.png", png(16, 16)}, {"new_16.png", png(15, 15)}});
  EXPECT_EQ(load_theme_images({ImageTable::Menus}), 1);
  EXPECT_EQ(size_of(ImageTable::Menus, "New"), QSize(16, 16));
}

TEST_F(Themes, LineFeedOnlyConfigurationYieldsNothing) {
  put_theme("test", "[Theme]\nName=Test\n[Icons]\nNew=new\n", {{"new_16.png", png(16, 16)}});
  scan_themes();
  EXPECT_EQ(theme_table().value("test", "unset"), "");
  EXPECT_EQ(load_theme_images({ImageTable::Menus}), 0);
  EXPECT_TRUE(table_image(ImageTable::Menus, "New").isNull());
}

TEST_F(Themes, DeletedArchiveFallsBackToAnInstalledTheme) {
  put_theme("other", "[Theme]\r\nName=Other\r\n[Icons]\r\nNew=new\r\n",
            {{"new_16.png", png(16, 16)}});
  put_theme("test", "[Theme]\r\nName=Test\r\n");
  scan_themes();
  ASSERT_TRUE(QFile::remove(archive("test")));
  EXPECT_EQ(load_theme_images({ImageTable::Menus}), 1);
  EXPECT_EQ(settings().ui_theme, "other");
  EXPECT_EQ(size_of(ImageTable::Menus, "New"), QSize(16, 16));
}

TEST_F(Themes, UnusableArchivesLeaveEveryImageAsItWas) {
  const QImage before = QImage(8, 8, QImage::Format_ARGB32_Premultiplied);
  set_image(image_number(ImageTable::Menus, "New"), before);
  const auto load_from = [&](const QByteArray &bytes) {
    QFile file(archive("test"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    return load_theme_images({ImageTable::Menus});
  };
  EXPECT_EQ(load_from(""), 0);
  EXPECT_EQ(load_from("PK\x03\x04 not really a zip archive"), 0);
  EXPECT_TRUE(test::write_zip(archive("test"), {{"new_16.png", png(16, 16)}}));
  EXPECT_EQ(load_theme_images({ImageTable::Menus}), 0); // no theme.cfg
  put_theme("test", "[Icons]\r\nNew=new\r\nAdd=add\r\nCopy=copy\r\n",
            {{"new_16.png", "\x89PNG\r\n\x1a\n broken"}, {"copy_16.png", ""}});
  EXPECT_EQ(load_theme_images({ImageTable::Menus}), 0);
  EXPECT_EQ(table_image(ImageTable::Menus, "New"), before);
  QFile::remove(archive("test"));
  EXPECT_EQ(load_theme_images({ImageTable::Menus}), 0); // nothing installed at all
}

TEST_F(Themes, ScanListsZipFilesWithTheirDisplayNames) {
  put_theme("alpha", "[Theme]\r\nName = Alpha Icons\r\n");
  put_theme("beta", "[Other]\r\nName=Not this\r\n");
  QFile(theme_folder() + "notes.txt").open(QIODevice::WriteOnly);
  QFile(theme_folder() + "empty.zip").open(QIODevice::WriteOnly);
  QDir(theme_folder()).mkdir("folder.zip");
  scan_themes();
  const QMap<QString, QString> expected{{"alpha", "Alpha Icons"}, {"beta", ""}, {"empty", ""}};
  EXPECT_EQ(theme_table(), expected);
  EXPECT_EQ(theme_display_name("missing"), "");

  QDir(theme_folder()).removeRecursively();
  scan_themes();
  EXPECT_TRUE(theme_table().isEmpty());
}

TEST_F(Themes, DisplayNameComesFromTheFirst255Bytes) {
  const QByteArray padding = "; " + QByteArray(300, 'x') + "\r\n";
  put_theme("early", "[Theme]\r\nName=Early\r\n" + padding);
  put_theme("late", padding + "[Theme]\r\nName=Late\r\n");
  EXPECT_EQ(theme_display_name("early"), "Early");
  EXPECT_EQ(theme_display_name("late"), "");
}

TEST_F(Themes, TheShippedThemeSuppliesEveryImageAtEverySize) {
  set_theme_folder(QFileInfo(test::binary_path()).path() + QLatin1String("/gfx/"));
  scan_themes();
  EXPECT_EQ(theme_table().value("handdrawn"), "Hand-drawn");
  settings().ui_theme = QStringLiteral("handdrawn");
  for (int ui_size = 0; ui_size <= 4; ++ui_size) {
    settings().ui_size = ui_size;
    EXPECT_EQ(load_theme_images({ImageTable::Buttons, ImageTable::Menus, ImageTable::Toolbar}),
              3 + 22 + 22);
    for (ImageTable table : all_image_tables) {
      const int size = table_image_size(table);
      for (const NamedImage &named : image_names(table))
        EXPECT_EQ(image(named.number).size(), QSize(size, size)) << named.name;
    }
  }
}

TEST(IniTextValue, LooksUpKeysThatStartALineOfTheSection) {
  const QString text = "[Theme]\r\nName = \tHand drawn\t \r\nSize=1=2\r\n"
                       "[icons]\r\nNEW=new\r\nLast=end";
  EXPECT_EQ(ini_text_value(text, "theme", "name"), "Hand drawn");
  EXPECT_EQ(ini_text_value(text, "Theme", "Size"), "1");
  EXPECT_EQ(ini_text_value(text, "Icons", "new"), "new");
  EXPECT_EQ(ini_text_value(text, "Theme", "New"), "");  // only in a later section
  EXPECT_EQ(ini_text_value(text, "Icons", "Last"), ""); // no line break after it
  EXPECT_EQ(ini_text_value(text, "Buttons", "New"), "");
  EXPECT_EQ(ini_text_value("[Theme]\r\nName\r\n", "Theme", "Name"), "");
}

} // namespace
} // namespace lumbrix
