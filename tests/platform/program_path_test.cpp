#include "platform/program_path.h"
#include "platform/sibling_program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// When the system cannot say where the program is, nothing is taken from the current folder,
// where anyone may have left a program of the same name.
TEST(ProgramPath, UnknownProgramFolderFindsNoSibling) {
  QTemporaryDir here;
  ASSERT_TRUE(here.isValid());
  const QString planted = here.filePath(QStringLiteral("lumbrix-draw"));
  QFile file(planted);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.setPermissions(file.permissions() | QFile::ExeOwner);
  file.close();
  QFile::link(QStringLiteral("lumbrix-draw"), here.filePath(QStringLiteral("relative")));
  const QString previous = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(here.path()));
  for (const QString &link : {here.filePath(QStringLiteral("missing")),
                              here.filePath(QStringLiteral("relative")), planted}) {
    const QString folder = folder_of_program(program_behind(link));
    EXPECT_EQ(folder, QString()) << link.toStdString();
    EXPECT_EQ(sibling_program_in(folder, QStringLiteral("lumbrix-draw")), QString());
  }
  EXPECT_EQ(sibling_program_in(here.path() + '/', QStringLiteral("lumbrix-draw")), planted);
  QDir::setCurrent(previous);
}

} // namespace
} // namespace lumbrix
