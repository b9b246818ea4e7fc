#include "platform/instance_lock.h"

#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class InstanceLockTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(runtime_.isValid());
    old_runtime_ = qgetenv("XDG_RUNTIME_DIR");
    QFile::setPermissions(runtime_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
  }
  void TearDown() override { qputenv("XDG_RUNTIME_DIR", old_runtime_); }

  QTemporaryDir runtime_;
  QByteArray old_runtime_;
};

TEST_F(InstanceLockTest, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  const QString name = QStringLiteral("Lumbrix Lock Test 1.0");
  EXPECT_TRUE(instance_lock_path(name).startsWith(runtime_.path() + QLatin1Char('/')));
  auto first = single_instance(name);
  ASSERT_TRUE(first);
  EXPECT_FALSE(single_instance(name));
  first.reset();
  EXPECT_TRUE(single_instance(name));
}

TEST_F(InstanceLockTest, LockOfADeadProcessIsTakenOver) {
  QProcess gone;
  gone.start(QStringLiteral("true"), {});
  ASSERT_TRUE(gone.waitForFinished());
  const qint64 dead_pid = gone.processId() ? gone.processId() : 999999;
  const QString name = QStringLiteral("Lumbrix Stale Test");
  QFile stale(instance_lock_path(name));
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.write(QByteArray::number(dead_pid) + "\nlumbrix\n" + QSysInfo::machineHostName().toUtf8() +
              "\n");
  stale.close();
  EXPECT_TRUE(single_instance(name));
}

} // namespace
} // namespace lumbrix
