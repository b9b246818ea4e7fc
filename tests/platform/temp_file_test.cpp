#include "platform/temp_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumbrix {
namespace {

constexpr TempName both_namings[] = {TempName::when_placed, TempName::from_start};

class TempFileTest : public ::testing::Test {
protected:
  void TearDown() override { set_temp_file_hooks({}); }

  QString path(const QString &name) const { return dir.filePath(name); }
  QStringList entries() const {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
  }
  QByteArray read(const QString &name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
  }
  void put(const QString &name, const QByteArray &bytes) const {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  TempFile written(TempName naming, const QByteArray &bytes) const {
    TempFile file = TempFile::create(dir.path(), "Lumbrix", "psd", naming);
    EXPECT_TRUE(file.is_open());
    EXPECT_TRUE(file.write(bytes.constData(), bytes.size()));
    EXPECT_EQ(file.size(), bytes.size());
    return file;
  }

  QTemporaryDir dir;
};

TEST_F(TempFileTest, CommitReplacesTheFileKeepingItsPermissionsAndLeavesNothingElse) {
  for (const TempName naming : both_namings) {
    put("out.psd", "earlier");
    ::chmod(QFile::encodeName(path("out.psd")).constData(), 0640);
    TempFile file = written(naming, "new");
    EXPECT_EQ(file.path().isEmpty(), naming == TempName::when_placed);
    EXPECT_EQ(read("out.psd"), "earlier");
    EXPECT_TRUE(file.commit("out.psd"));
    EXPECT_EQ(read("out.psd"), "new");
    EXPECT_EQ(QFileInfo(path("out.psd")).permissions() & 0x7777,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                  QFile::ReadGroup);
    EXPECT_EQ(entries(), QStringList{"out.psd"});
  }
}

TEST_F(TempFileTest, AFileNotPutInPlaceLeavesNothing) {
  for (const TempName naming : both_namings) {
    { written(naming, "abandoned"); }
    EXPECT_TRUE(entries().isEmpty());
    TempFile refused = written(naming, "abandoned");
    EXPECT_FALSE(refused.commit("sub/out.psd"));
    EXPECT_TRUE(entries().isEmpty());
  }
}

// Names already taken, a dangling link among them, are passed over; the link's target is never
// created.
TEST_F(TempFileTest, ExistingNamesAndDanglingLinksAreNeverTaken) {
  put("taken.psd", "someone's");
  ASSERT_TRUE(QFile::link(path("target"), path("dangling.psd")));
  static int calls = 0;
  calls = 0;
  set_temp_file_hooks({[] {
                         const char *names[] = {"taken.psd", "dangling.psd", "free.psd"};
                         return QByteArray(names[std::min(calls++, 2)]);
                       },
                       nullptr});
  TempFile file = written(TempName::from_start, "mine");
  EXPECT_EQ(file.path(), path("free.psd"));
  EXPECT_FALSE(QFile::exists(path("target")));
  EXPECT_EQ(read("taken.psd"), "someone's");
}

// With no earlier file, a file made without a name takes the final name directly: no temporary
// name ever appears, so whatever kills the process cannot leave one behind. Asked to, a file that
// replaces nothing is left unsynced; one that replaces a file never is.
TEST_F(TempFileTest, ATemporaryNameAppearsOnlyToReplaceAFileOrWhenNamedFromTheStart) {
  struct Case {
    TempName naming;
    bool earlier;
    bool named;
  };
  const Case cases[] = {{TempName::when_placed, false, false},
                        {TempName::when_placed, true, true},
                        {TempName::from_start, false, true},
                        {TempName::from_start, true, true}};
  static bool named = false;
  set_temp_file_hooks({nullptr, [](const QString &) { named = true; }});
  for (const Case &c : cases) {
    for (const bool defer : {false, true}) {
      QFile::remove(path("out.psd"));
      if (c.earlier)
        put("out.psd", "earlier");
      named = false;
      bool unsynced = false;
      TempFile file = written(c.naming, "new");
      EXPECT_TRUE(file.commit("out.psd", nullptr, defer ? &unsynced : nullptr));
      EXPECT_EQ(named, c.named) << c.earlier;
      EXPECT_EQ(unsynced, defer && !c.earlier) << c.earlier;
      EXPECT_EQ(read("out.psd"), "new");
      EXPECT_EQ(entries(), QStringList{"out.psd"});
    }
  }
}

// Someone who may write the folder swaps the temporary name for a link to a file of theirs,
// between the claim and the write, or between the naming and the rename: the writing goes to
// the file that was created, the link's target and the earlier file are untouched, and the
// commit fails.
TEST_F(TempFileTest, ANameSwappedForALinkNeverRedirectsTheWriting) {
  static QString target;
  target = path("victim.txt");
  const auto swap_for_link = [](const QString &temporary) {
    ASSERT_TRUE(QFile::remove(temporary));
    ASSERT_TRUE(QFile::link(target, temporary));
  };
  put("victim.txt", "precious");
  put("out.psd", "earlier");
  {
    TempFile file = TempFile::create(dir.path(), "Lumbrix", "psd", TempName::from_start);
    swap_for_link(file.path());
    ASSERT_TRUE(file.write("payload", 7));
    EXPECT_FALSE(file.commit("out.psd"));
  }
  for (const TempName naming : both_namings) {
    set_temp_file_hooks({nullptr, swap_for_link});
    TempFile file = written(naming, "payload");
    EXPECT_FALSE(file.commit("out.psd"));
    // The same with no earlier file, put in place unsynced: a file without a name is linked
    // there at once, so nothing can be swapped.
    TempFile fresh = written(naming, "payload");
    bool unsynced = false;
    EXPECT_EQ(fresh.commit("new.psd", nullptr, &unsynced), naming == TempName::when_placed);
    EXPECT_FALSE(QFileInfo(path("new.psd")).isSymLink());
    QFile::remove(path("new.psd"));
  }
  EXPECT_EQ(read("victim.txt"), "precious");
  EXPECT_EQ(read("out.psd"), "earlier");
}

// Just after the file is put in place, its final name is taken over: by a link, symbolic or
// hard (which must not stand there), or by another run's file of the same name (which stays, as a
// later write would replace this one). Either way the link's target keeps its contents.
TEST_F(TempFileTest, WhatTakesTheFinalNameAfterwardsIsALinkRemovedOrAnotherRunsFileKept) {
  static QString other;
  other = path("victim.txt");
  const struct {
    const char *name;
    void (*take_over)(const QString &final_name);
    bool committed;
    const char *left; // what the final name reads afterwards, "" when nothing stands there
  } cases[] = {
      {"link",
       [](const QString &final_name) {
         QFile::remove(final_name);
         QFile::link(other, final_name);
       },
       false, ""},
      {"hard link",
       [](const QString &final_name) {
         QFile::remove(final_name);
         EXPECT_EQ(::link(QFile::encodeName(other).constData(),
                          QFile::encodeName(final_name).constData()),
                   0);
       },
       false, ""},
      {"another run's file",
       [](const QString &final_name) {
         QFile::copy(other, final_name + ".next");
         std::rename(QFile::encodeName(final_name + ".next").constData(),
                     QFile::encodeName(final_name).constData());
       },
       true, "precious"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    for (const bool earlier : {false, true}) {
      put("victim.txt", "precious");
      QFile::remove(path("out.psd"));
      if (earlier)
        put("out.psd", "earlier");
      set_temp_file_hooks({nullptr, nullptr, c.take_over});
      TempFile file = written(TempName::when_placed, "payload");
      bool unsynced = false;
      EXPECT_EQ(file.commit("out.psd", nullptr, &unsynced), c.committed);
      set_temp_file_hooks({});
      EXPECT_FALSE(QFileInfo(path("out.psd")).isSymLink());
      EXPECT_EQ(QFileInfo::exists(path("out.psd")) ? read("out.psd") : QByteArray(), c.left);
      EXPECT_EQ(read("victim.txt"), "precious");
    }
  }
}

// A run ended by one of these signals removes its named temporary file and ends as the signal
// ends a process.
TEST_F(TempFileTest, EndingSignalsRemoveTheNamedFileFirst) {
  for (const int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    const pid_t child = fork();
    if (child == 0) {
      TempFile file = TempFile::create(dir.path(), "Lumbrix", "psd", TempName::from_start);
      file.write("partial", 7);
      ::raise(signal_number);
      _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), signal_number);
    EXPECT_TRUE(entries().isEmpty());
  }
}

} // namespace
} // namespace lumbrix
