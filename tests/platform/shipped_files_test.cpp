#include "build_constants.h"
#include "platform/shipped_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class ShippedFiles : public ::testing::Test {
protected:
  // A folder below the temporary root (or a full path), made with its parents, with a trailing
  // separator.
  QString folder(const QString &relative) {
    const QString path = QDir::cleanPath(QDir(root.path()).absoluteFilePath(relative));
    QDir().mkpath(path);
    return path + '/';
  }
  void touch(const QString &path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  QTemporaryDir root;
};

TEST_F(ShippedFiles, BuildTreeKeepsThemBesideTheProgram) {
  const QString build = folder("build");
  folder("build/gfx");
  touch(build + "Lumbrix.html");
  EXPECT_EQ(shipped_path(build, Shipped::data, "gfx/"), build + "gfx/");
  EXPECT_EQ(shipped_path(build, Shipped::documentation, "Lumbrix.html"), build + "Lumbrix.html");
}

// Wherever the tree is moved to, both programs find them from their own folders.
TEST_F(ShippedFiles, InstalledTreeKeepsThemInItsDataAndDocumentationFolders) {
  const QString bin = folder("moved/prefix/bin");
  const QString libexec = folder(bin + build::libexec_from_program);
  const QString data = folder(bin + build::data_from_program);
  const QString doc = folder(bin + build::documentation_from_program);
  folder(data + "gfx");
  touch(doc + "Lumbrix.html");
  for (const QString &program : {bin, libexec}) {
    EXPECT_EQ(shipped_path(program, Shipped::data, "gfx/"), data + "gfx/");
    EXPECT_EQ(shipped_path(program, Shipped::documentation, "Lumbrix.html"), doc + "Lumbrix.html");
  }
  // The two kinds are not mixed up: the manual is no data file.
  EXPECT_EQ(shipped_path(bin, Shipped::data, "Lumbrix.html"), bin + "Lumbrix.html");
}

TEST_F(ShippedFiles, MissingFilesAreNamedBesideTheProgram) {
  const QString bin = folder("bare/bin");
  EXPECT_EQ(shipped_path(bin, Shipped::data, "gfx/"), bin + "gfx/");
  EXPECT_EQ(shipped_path(bin, Shipped::documentation, "Lumbrix.html"), bin + "Lumbrix.html");
}

} // namespace
} // namespace lumbrix
