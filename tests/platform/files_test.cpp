#include "platform/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class Files : public ::testing::Test {
protected:
  QString path(const QString &name) const { return dir.filePath(name); }
  bool write(const QString &name, const QByteArray &bytes) const {
    QFile file(path(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
  }
  QTemporaryDir dir;
};

TEST_F(Files, CreateFoldersMakesEachMissingLevelAndStaysInside) {
  const QString base = dir.path() + QLatin1Char('/');
  EXPECT_TRUE(create_folders(base, QStringLiteral("a/b c/ü/")));
  EXPECT_TRUE(QDir(path(QStringLiteral("a/b c/ü"))).exists());
  EXPECT_TRUE(create_folders(base, QStringLiteral("a/b c/")));
  EXPECT_TRUE(create_folders(base, QString()));
  EXPECT_FALSE(create_folders(base, QStringLiteral("a/../../escape/")));
  EXPECT_FALSE(QDir(dir.path() + QStringLiteral("/../escape")).exists());
  ASSERT_TRUE(write(QStringLiteral("file"), "x"));
  EXPECT_FALSE(create_folders(base, QStringLiteral("file/")));
}

TEST_F(Files, RenameReplacesAndReportsFailure) {
  ASSERT_TRUE(write(QStringLiteral("new"), "new"));
  ASSERT_TRUE(write(QStringLiteral("old"), "older"));
  EXPECT_TRUE(rename_file(path(QStringLiteral("new")), path(QStringLiteral("old"))));
  EXPECT_EQ(file_size(path(QStringLiteral("old"))), 3);
  EXPECT_FALSE(file_exists(path(QStringLiteral("new"))));
  EXPECT_FALSE(rename_file(path(QStringLiteral("new")), path(QStringLiteral("other"))));
  EXPECT_EQ(file_size(dir.path()), -1);
  EXPECT_TRUE(delete_file(path(QStringLiteral("old"))));
  EXPECT_FALSE(delete_file(path(QStringLiteral("old"))));
}

TEST_F(Files, FileTimeRoundTripsToTheSecond) {
  ASSERT_TRUE(write(QStringLiteral("dated"), "x"));
  ASSERT_TRUE(set_file_time(path(QStringLiteral("dated")), 981173106));
  qint64 seconds = 0;
  ASSERT_TRUE(file_time(path(QStringLiteral("dated")), seconds));
  EXPECT_EQ(seconds, 981173106);
  EXPECT_FALSE(file_time(path(QStringLiteral("missing")), seconds));
}

} // namespace
} // namespace lumbrix
