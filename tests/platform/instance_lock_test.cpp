#include "platform/instance_channel.h"
#include "platform/instance_lock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <unistd.h>

namespace lumbrix {
namespace {

constexpr QFile::Permissions owner_only = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr const char *variables[] = {"XDG_RUNTIME_DIR", "TMPDIR", "DISPLAY", "WAYLAND_DISPLAY",
                                     "XDG_SESSION_ID"};

// Each test sets the variables it reads (null unsets one); they are put back afterwards.
class InstanceLockTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char *name : variables)
      saved_.push_back(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name))
                                                       : std::nullopt);
    QDir(home_.path()).mkpath(QStringLiteral("runtime/link-target"));
    QDir(home_.path()).mkpath(QStringLiteral("tmp"));
    for (const QString &folder : {runtime(), runtime() + QStringLiteral("/link-target")})
      QFile::setPermissions(folder, owner_only);
    set({runtime().toUtf8(), temporary().toUtf8(), QByteArray(":0"), std::nullopt, std::nullopt});
  }
  void TearDown() override { set(saved_); }

  static void set(const std::vector<std::optional<QByteArray>> &values) {
    for (size_t i = 0; i < values.size(); ++i)
      values[i] ? qputenv(variables[i], *values[i]) : qunsetenv(variables[i]);
  }
  static void set_display(const char *x, const char *wayland, const char *session) {
    const char *values[] = {x, wayland, session};
    for (size_t i = 0; i < 3; ++i)
      values[i] ? qputenv(variables[i + 2], values[i]) : qunsetenv(variables[i + 2]);
  }
  QString runtime() const { return home_.filePath(QStringLiteral("runtime")); }
  QString temporary() const { return home_.filePath(QStringLiteral("tmp")); }

private:
  QTemporaryDir home_;
  std::vector<std::optional<QByteArray>> saved_;
};

TEST_F(InstanceLockTest, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  const QString name = QStringLiteral("Lumbrix Lock Test 1.0");
  InstanceClaim first = claim_instance(name);
  ASSERT_EQ(first.role, InstanceRole::first);
  EXPECT_EQ(claim_instance(name).role, InstanceRole::second);
  first.lock.reset();
  EXPECT_EQ(claim_instance(name).role, InstanceRole::first);
  // A lock that cannot be made says nothing of another window front.
  EXPECT_EQ(claim_instance(QStringLiteral("no such folder/x")).role, InstanceRole::alone);
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
  EXPECT_EQ(claim_instance(name).role, InstanceRole::first);
}

// Starts on different displays never meet; screens of one X display do.
TEST_F(InstanceLockTest, InstanceIsKeyedByDisplay) {
  const struct {
    const char *x, *wayland, *session;
    QString on;
  } cases[] = {
      {":1", nullptr, "4", " on :1"},
      {"host:10.2", nullptr, nullptr, " on host:10"},
      {":0", "/w/wayland-1", "4", " on _w_wayland-1 :0"},
      {nullptr, nullptr, "7", " on session 7"},
      {nullptr, nullptr, nullptr, ""},
  };
  for (const auto &c : cases) {
    set_display(c.x, c.wayland, c.session);
    EXPECT_EQ(instance_lock_path(QStringLiteral("N")), runtime() + "/N" + c.on + ".lock");
  }
}

// Only a folder of this user's own, closed to others and not a link, holds locks and channels;
// with none to be had, nothing is shared at all.
TEST_F(InstanceLockTest, OnlyAPrivateFolderIsUsed) {
  if (QFile::exists(QStringLiteral("/run/user/") + QString::number(::geteuid())))
    GTEST_SKIP() << "the login's runtime folder would be taken";
  QFile::link(runtime() + QStringLiteral("/link-target"), runtime() + QStringLiteral("/link"));
  const QString fallback = temporary() + QStringLiteral("/runtime-");
  const struct {
    QString runtime;
    QFile::Permissions permissions;
    QString expected;
  } cases[] = {
      {runtime(), owner_only, runtime() + '/'},
      {runtime(), owner_only | QFile::ReadOther | QFile::ExeOther, fallback},
      {runtime() + QStringLiteral("/link"), owner_only, fallback},
      {QString(), owner_only, fallback},
  };
  for (const auto &c : cases) {
    QFile::setPermissions(runtime(), c.permissions);
    qputenv("XDG_RUNTIME_DIR", c.runtime.toUtf8());
    EXPECT_TRUE(instance_folder().startsWith(c.expected)) << instance_folder().toStdString();
  }
  const QByteArray planted = QFile::encodeName(instance_folder());
  if (::chown(planted.constData(), 65534, 65534) != 0)
    GTEST_SKIP() << "needs root to plant another user's folder";
  EXPECT_EQ(instance_folder(), QString());
  EXPECT_EQ(claim_instance(QStringLiteral("N")).role, InstanceRole::alone);
  EXPECT_FALSE(send_to_instance(QStringLiteral("N"), {}, 100));
  EXPECT_EQ(QDir(temporary()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
}

// Any text survives the channel, whatever it holds; a message arrives only whole.
TEST(InstanceMessage, EveryTextSurvivesFraming) {
  const QStringList cases[] = {
      {},
      {QString()},
      {QStringLiteral("/p/line\nbreak.png"), QStringLiteral("/p/\u00fcber.png"), "\r\n"},
      {QString(QChar(0)) + "x"},
  };
  for (const QStringList &texts : cases) {
    const QByteArray framed = frame_message(texts);
    QByteArray partial = framed.left(framed.size() - 1), buffer = framed + "next";
    QStringList received;
    bool broken = true;
    EXPECT_FALSE(take_message(partial, received, &broken));
    ASSERT_TRUE(take_message(buffer, received, &broken));
    EXPECT_FALSE(broken);
    EXPECT_EQ(received, texts);
    EXPECT_EQ(buffer, QByteArray("next"));
  }
  QByteArray lying = QByteArray::fromHex("00000004000000ff");
  QStringList received;
  bool broken = false;
  EXPECT_TRUE(take_message(lying, received, &broken) && broken);
}

} // namespace
} // namespace lumbrix
