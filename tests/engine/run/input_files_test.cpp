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

const QString link_refusal = QStringLiteral("skipped, a symbolic link");
const QString long_refusal = QStringLiteral("skipped, the path is longer than the system allows");

// A folder of pictures with a link among them, a link to a folder and, at the end of a chain of
// folders close to the path limit, a picture and a folder whose paths are past it.
class FolderInputs : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char *name : {"a.png", "note.txt", "sub/c.png"})
      put(QString::fromLatin1(name));
    ASSERT_TRUE(QFile::link(dir.filePath("a.png"), dir.filePath("link.png")));
    ASSERT_TRUE(QFile::link(dir.path(), dir.filePath("sub/loop")));
    deep = QStringLiteral("deep");
    while (dir.path().size() + deep.size() < 3900)
      deep += QLatin1Char('/') + QString(100, QLatin1Char('d'));
    ASSERT_TRUE(QDir(dir.path()).mkpath(deep));
    deep_fd = ::open(QFile::encodeName(dir.filePath(deep)).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(deep_fd, 0);
    ::close(::openat(deep_fd, far_name().constData(), O_CREAT | O_WRONLY, 0600));
    ASSERT_EQ(::mkdirat(deep_fd, QByteArray(250, 'e').constData(), 0700), 0);
  }

  // What the system cannot remove by path is removed through the folder's descriptor.
  void TearDown() override {
    if (deep_fd < 0)
      return;
    ::unlinkat(deep_fd, far_name().constData(), 0);
    ::unlinkat(deep_fd, QByteArray(250, 'e').constData(), AT_REMOVEDIR);
    ::close(deep_fd);
  }

  static QByteArray far_name() { return QByteArray(240, 'f') + ".png"; }

  void put(const QString &name) {
    QDir(dir.path()).mkpath(QFileInfo(dir.filePath(name)).path());
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }

  QTemporaryDir dir;
  QString deep;
  int deep_fd = -1;
};

TEST_F(FolderInputs, LinksAndPathsTooLongAreTakenWithTheirRefusal) {
  struct Case {
    bool recursive;
    std::vector<std::pair<QString, QString>> expected; // path below the folder, refusal
  };
  const QString far = deep + '/' + QString::fromLatin1(far_name());
  const QString deeper = deep + '/' + QString(250, QLatin1Char('e')) + '/';
  const Case cases[] = {
      {false, {{"a.png", ""}, {"link.png", link_refusal}}},
      {true,
       {{"a.png", ""},
        {"link.png", link_refusal},
        {far, long_refusal},
        {deeper, long_refusal},
        {"sub/c.png", ""}}},
  };
  for (const Case &c : cases) {
    std::vector<std::pair<QString, QString>> found;
    for (const InputFile &file : folder_inputs(dir.path(), c.recursive))
      found.emplace_back(file.path.mid(dir.path().size() + 1), file.refusal);
    EXPECT_EQ(found, c.expected) << c.recursive;
  }
}

} // namespace
} // namespace lumbrix
