#include "platform/system_memory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <limits>

namespace lumbrix {
namespace {

constexpr qint64 none = std::numeric_limits<qint64>::max();

void write(const QString &path, const QByteArray &text) {
  QDir().mkpath(path.section('/', 0, -2));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
}

// A mount of both versions: v2 at the root, v1's memory controller under memory/. Each case
// lists "folder/file=value" and the process's /proc/self/cgroup.
TEST(SystemMemory, TheTightestGroupLimitOfEitherVersionAndOfEveryParentBinds) {
  const struct {
    const char *name;
    QList<QByteArray> files;
    QByteArray groups;
    qint64 headroom;
  } cases[] = {
      {"v2", {"app/memory.max=1000", "app/memory.current=400"}, "0::/app\n", 600},
      {"v2 without a limit", {"app/memory.max=max", "app/memory.current=400"}, "0::/app\n", none},
      {"v2 parent",
       {"a/memory.max=5000", "a/memory.current=4500", "a/b/memory.max=max",
        "a/b/memory.current=100"},
       "0::/a/b\n",
       500},
      {"v1",
       {"memory/app/memory.limit_in_bytes=2000", "memory/app/memory.usage_in_bytes=500"},
       "4:memory:/app\n0::/\n",
       1500},
      {"v1 shared mount",
       {"memory/app/memory.limit_in_bytes=2000", "memory/app/memory.usage_in_bytes=500"},
       "3:cpu,memory:/app\n",
       1500},
      {"v1 parent",
       {"memory/memory.limit_in_bytes=800", "memory/memory.usage_in_bytes=100",
        "memory/app/memory.limit_in_bytes=9223372036854771712",
        "memory/app/memory.usage_in_bytes=50"},
       "4:memory:/app\n",
       700},
      {"other controllers", {"memory/app/memory.limit_in_bytes=2000"}, "5:pids:/app\n", none},
  };
  for (const auto &[name, files, groups, headroom] : cases) {
    SCOPED_TRACE(name);
    const QTemporaryDir root;
    for (const QByteArray &file : files)
      write(root.filePath(QString::fromLatin1(file.split('=')[0])), file.split('=')[1]);
    EXPECT_EQ(cgroup_headroom(groups, root.path().toUtf8()), headroom);
  }
}

} // namespace
} // namespace lumbrix
