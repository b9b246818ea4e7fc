#include "cli/profile.h"
#include "engine/settings/settings_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

TEST(PresetName, OnlyPlainFileNamesAreTaken) {
  const struct {
    const char16_t *name;
    bool valid;
  } cases[] = {
      {u"Web 90", true}, {u"ü 名 v1.2", true},  {u"", false},           {u"   ", false},
      {u".", false},     {u"..", false},        {u".hidden", false},    {u"a/b", false},
      {u"a\\b", false},  {u"tab\tname", false}, {u"line\nname", false},
  };
  for (const auto &c : cases) {
    const QString name = QString::fromUtf16(c.name);
    EXPECT_EQ(valid_preset_name(name), c.valid) << name.toStdString();
    EXPECT_EQ(preset_path(name).isEmpty(), !c.valid) << name.toStdString();
  }
}

// A --profile value is a path when it has a separator or names a file, else a preset's name.
TEST(ProfilePath, NamesLookInThePresetsFolder) {
  QTemporaryDir dir;
  qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
  const QString here = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  QFile existing(QStringLiteral("local"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  const QString preset = presets_folder() + QStringLiteral("Web.ini");
  EXPECT_EQ(profile_path(QStringLiteral("Web")), preset);
  EXPECT_EQ(profile_path(QStringLiteral("local")), QStringLiteral("local"));
  EXPECT_EQ(profile_path(QStringLiteral("./Web")), QStringLiteral("./Web"));
  EXPECT_EQ(profile_path(QStringLiteral("..")), QStringLiteral(".."));
  ASSERT_TRUE(QDir::setCurrent(here));
}

// The sections a preset holds come first and keep what they lack; CLI lines then win.
TEST(Profile, PresetSectionsThenOptionLines) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("p.ini"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("[CLI]\r\n--brightness=5\r\n[Adjustment]\r\nImage Brightness = 30\r\n"
             "Image Contrast = 12\r\n[General]\r\nLanguage = de\r\n");
  file.close();
  Settings s;
  s.image_gamma = 1.5f;
  ASSERT_TRUE(load_profile(path, s));
  EXPECT_EQ(s.image_brightness, 5);
  EXPECT_EQ(s.image_contrast, 12);
  EXPECT_EQ(s.image_gamma, 1.5f);
  EXPECT_EQ(s.language, Settings().language);
}

} // namespace
} // namespace lumbrix
