#include "platform/instance_channel.h"
#include "platform/instance_lock.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <unistd.h>

namespace lumbrix {
namespace {

constexpr QFile::Permissions owner_only = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;

// Each test sets the variables it reads; they are put back afterwards.
class InstanceLockTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    for (const char *name : variables)
      saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    QDir(home_.path()).mkpath(QStringLiteral("runtime"));
    QDir(home_.path()).mkpath(QStringLiteral("tmp"));
    QFile::setPermissions(runtime(), owner_only);
    qputenv("XDG_RUNTIME_DIR", runtime().toUtf8());
    qputenv("TMPDIR", temporary().toUtf8());
    set_display({":0", nullptr, nullptr});
  }
  void TearDown() override {
    for (const Saved &variable : saved_)
      variable.was_set ? qputenv(variable.name, variable.value) : qunsetenv(variable.name);
  }

  struct Display {
    const char *x, *wayland, *session;
  };
  static void set_display(const Display &display) {
    const std::pair<const char *, const char *> values[] = {{"DISPLAY", display.x},
                                                            {"WAYLAND_DISPLAY", display.wayland},
                                                            {"XDG_SESSION_ID", display.session}};
    for (const auto &[name, value] : values)
      value ? qputenv(name, value) : qunsetenv(name);
  }

  QString runtime() const { return home_.filePath(QStringLiteral("runtime")); }
  QString temporary() const { return home_.filePath(QStringLiteral("tmp")); }

private:
  static constexpr const char *variables[] = {"XDG_RUNTIME_DIR", "TMPDIR", "DISPLAY",
                                              "WAYLAND_DISPLAY", "XDG_SESSION_ID"};
  struct Saved {
    const char *name;
    QByteArray value;
    bool was_set;
  };
  QTemporaryDir home_;
  std::vector<Saved> saved_;
};

TEST_F(InstanceLockTest, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  const QString name = QStringLiteral("Lumbrix Lock Test 1.0");
  EXPECT_EQ(instance_lock_path(name),
            runtime() + QStringLiteral("/Lumbrix Lock Test 1.0 on :0.lock"));
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
    Display display;
    QString expected;
  } cases[] = {
      {{":1", nullptr, nullptr}, ":1"},
      {{":1.0", nullptr, nullptr}, ":1"},
      {{"host.example:10.2", nullptr, nullptr}, "host.example:10"},
      {{":0", "wayland-1", "4"}, "wayland-1 :0"},
      {{nullptr, "/run/w/wayland-0", nullptr}, "_run_w_wayland-0"},
      {{nullptr, nullptr, "7"}, "session 7"},
  };
  for (const auto &c : cases) {
    set_display(c.display);
    EXPECT_EQ(instance_lock_path(QStringLiteral("N")), runtime() + "/N on " + c.expected + ".lock")
        << c.display.x;
  }
  set_display({nullptr, nullptr, nullptr});
  EXPECT_EQ(instance_lock_path(QStringLiteral("N")), runtime() + "/N.lock");
}

// Only a folder of this user's own, closed to others and not a link, holds locks and channels.
TEST_F(InstanceLockTest, OnlyAPrivateFolderIsUsed) {
  if (QFile::exists(QStringLiteral("/run/user/") + QString::number(::geteuid())))
    GTEST_SKIP() << "the login's runtime folder would be taken";
  const QString fallback = temporary() + QStringLiteral("/runtime-");
  QDir(runtime()).mkpath(QStringLiteral("real"));
  QFile::setPermissions(runtime() + QStringLiteral("/real"), owner_only);
  QFile::link(runtime() + QStringLiteral("/real"), runtime() + QStringLiteral("/link"));
  const struct {
    QString runtime;
    QFile::Permissions permissions;
    bool runtime_taken;
  } cases[] = {
      {runtime(), owner_only, true},
      {runtime(), owner_only | QFile::ReadOther | QFile::ExeOther, false},
      {runtime() + QStringLiteral("/link"), owner_only, false},
      {QString(), owner_only, false},
  };
  for (const auto &c : cases) {
    QFile::setPermissions(runtime(), c.permissions);
    qputenv("XDG_RUNTIME_DIR", c.runtime.toUtf8());
    const QString folder = instance_folder();
    EXPECT_EQ(folder == runtime() + '/', c.runtime_taken) << c.runtime.toStdString();
    EXPECT_EQ(folder.startsWith(fallback), !c.runtime_taken) << folder.toStdString();
  }
}

TEST_F(InstanceLockTest, AFolderOfAnotherUserLeavesTheInstanceAlone) {
  qunsetenv("XDG_RUNTIME_DIR");
  if (::geteuid() != 0 || QFile::exists(QStringLiteral("/run/user/0")))
    GTEST_SKIP() << "needs root to plant another user's folder";
  const QByteArray planted = QFile::encodeName(temporary() + QStringLiteral("/runtime-root"));
  ASSERT_TRUE(QDir().mkpath(QString::fromLocal8Bit(planted)));
  ASSERT_EQ(::chown(planted.constData(), 65534, 65534), 0);
  EXPECT_EQ(instance_folder(), QString());
  EXPECT_EQ(claim_instance(QStringLiteral("N")).role, InstanceRole::alone);
  EXPECT_FALSE(send_to_instance(QStringLiteral("N"), {}, 100));
  EXPECT_EQ(QDir(temporary()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("runtime-root")});
}

// Any text survives the channel, whatever it holds; a message arrives only whole.
TEST(InstanceMessage, EveryTextSurvivesFraming) {
  const QStringList cases[] = {
      {},
      {QString()},
      {QStringLiteral("/p/line\nbreak.png"), QStringLiteral("/p/two\n\n.png")},
      {QStringLiteral("/p/\u00fcber \u00e9t\u00e9.png"), QString(QChar(0)) + "x", "\r\n"},
  };
  for (const QStringList &texts : cases) {
    const QByteArray framed = frame_message(texts);
    QByteArray partial = framed.left(framed.size() - 1);
    QStringList received;
    bool broken = true;
    EXPECT_FALSE(take_message(partial, received, &broken));
    QByteArray buffer = framed + "next";
    ASSERT_TRUE(take_message(buffer, received, &broken));
    EXPECT_FALSE(broken);
    EXPECT_EQ(received, texts);
    EXPECT_EQ(buffer, QByteArray("next"));
  }
  QByteArray lying = QByteArray::fromHex("00000004000000ff");
  QStringList received;
  bool broken = false;
  EXPECT_TRUE(take_message(lying, received, &broken));
  EXPECT_TRUE(broken);
}

} // namespace
} // namespace lumbrix
