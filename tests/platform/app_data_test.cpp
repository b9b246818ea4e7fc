#include "engine/settings/settings_file.h"
#include "platform/app_data.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// Points the per-user configuration folder at one that does not exist yet, as on a new account.
class AppData : public ::testing::Test {
protected:
  void SetUp() override {
    saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
  }
  void TearDown() override { qputenv("XDG_CONFIG_HOME", saved); }

  QTemporaryDir home;
  QString config = home.filePath(QStringLiteral("new-account/.config"));
  QByteArray saved;
};

TEST_F(AppData, SettingsDirIsCreatedWithItsMissingParents) {
  const QString folder = settings_dir(QStringLiteral("Vantrel"), QStringLiteral("Lumbrix"));
  EXPECT_EQ(folder, config + "/Vantrel/Lumbrix/");
  EXPECT_TRUE(QFileInfo(folder).isDir());
  // Asking again finds the folders in place.
  EXPECT_EQ(settings_dir(QStringLiteral("Vantrel"), QStringLiteral("Lumbrix")), folder);
  EXPECT_EQ(settings_file_location(), folder + "config.ini");
}

TEST_F(AppData, UncreatableFolderIsStillNamedWithoutError) {
  QFile blocker(home.filePath(QStringLiteral("new-account")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QString folder = settings_dir(QStringLiteral("Vantrel"), QStringLiteral("Lumbrix"));
  EXPECT_EQ(folder, config + "/Vantrel/Lumbrix/");
  EXPECT_FALSE(QFileInfo(folder).exists());
}

} // namespace
} // namespace lumbrix
