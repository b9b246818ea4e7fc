#include "engine/run/input_files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lumbrix {
namespace {

using Found = std::vector<std::pair<QString, QString>>; // path below the folder, refusal

// A folder with a picture, a link named as one, a link to the folder below and, at the end of a
// chain of folders close to the path limit, a picture and a folder whose paths are past it.
TEST(FolderInputs, LinksAndPathsTooLongAreTakenWithTheirRefusal) {
  QTemporaryDir dir;
  ASSERT_TRUE(QDir(dir.path()).mkpath("sub"));
  for (const char *name : {"a.png", "note.txt", "sub/c.png"})
    QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
  ASSERT_TRUE(QFile::link(dir.filePath("a.png"), dir.filePath("link.png")));
  ASSERT_TRUE(QFile::link(dir.path(), dir.filePath("sub/loop")));
  QString deep = QStringLiteral("deep");
  while (dir.path().size() + deep.size() < 3900)
    deep += '/' + QString(100, 'd');
  ASSERT_TRUE(QDir(dir.path()).mkpath(deep));
  const QByteArray far = QByteArray(240, 'f') + ".png", deeper(250, 'e');
  const int fd = ::open(QFile::encodeName(dir.filePath(deep)).constData(), O_RDONLY | O_DIRECTORY);
  ::close(::openat(fd, far.constData(), O_CREAT | O_WRONLY, 0600));
  ::mkdirat(fd, deeper.constData(), 0700);
  const auto found = [&](bool recursive) {
    Found entries;
    for (const InputFile &file : folder_inputs(dir.path(), recursive))
      entries.emplace_back(file.path.mid(dir.path().size() + 1), file.refusal);
    return entries;
  };
  const Found top = found(false), all = found(true);
  // What the system cannot remove by path goes through the folder's descriptor.
  ::unlinkat(fd, far.constData(), 0);
  ::unlinkat(fd, deeper.constData(), AT_REMOVEDIR);
  ::close(fd);
  const QString link = QStringLiteral("skipped, a symbolic link");
  const QString too_long = QStringLiteral("skipped, the path is longer than the system allows");
  EXPECT_EQ(top, (Found{{"a.png", ""}, {"link.png", link}}));
  EXPECT_EQ(all, (Found{{"a.png", ""},
                        {"link.png", link},
                        {deep + '/' + far, too_long},
                        {deep + '/' + deeper + '/', too_long},
                        {"sub/c.png", ""}}));
}

} // namespace
} // namespace lumbrix
