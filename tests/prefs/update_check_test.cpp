#include "prefs/message_boxes.h"
#include "prefs/update_check.h"
#include "prefs/window_settings.h"
#include "support/local_http_server.h"
#include "support/scripted_dialogs.h"
#include "text/lang.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

using test::http_answer;
using test::LocalHttpServer;

constexpr int day = 24 * 60 * 60;
constexpr int now = 1'750'000'000;

class UpdateCheckTest : public ::testing::Test {
protected:
  void SetUp() override {
    lang_load();
    saved_ = settings();
  }
  void TearDown() override { settings() = saved_; }

  // Runs the automatic check at now with the given interval choice and last check.
  void auto_check(int range, int last_check, const QString &address) {
    settings().update_range = range;
    settings().update_date = last_check;
    auto_update_check(now, address);
  }

  test::InstalledDialogs installed_;
  test::ScriptedDialogs &dialogs_ = installed_.dialogs;
  Settings saved_;
  // Connecting here fails, so a check that should not run would show its error.
  const QString unreachable_ = QStringLiteral("http://127.0.0.1:%1/x").arg(test::closed_port());
};

TEST_F(UpdateCheckTest, NewerVersionOffersTheProductPage) {
  LocalHttpServer server({http_answer("221")});
  dialogs_.answer = true;
  check_for_updates(server.address());
  EXPECT_TRUE(dialogs_.messages.isEmpty());
  ASSERT_EQ(dialogs_.questions.size(), 1);
  EXPECT_EQ(dialogs_.questions[0].icon, MessageIcon::Question);
  EXPECT_EQ(dialogs_.questions[0].title, QStringLiteral("New Update"));
  EXPECT_EQ(dialogs_.questions[0].text,
            QStringLiteral("A new version of Vantrel PNG to PSD is "
                           "available! Are you ready to download it right "
                           "now?"));
  EXPECT_EQ(dialogs_.opened, QStringList{product_page_address()});
  EXPECT_TRUE(product_page_address().endsWith(QLatin1String("/Lumbrix/")));
  EXPECT_TRUE(update_address().endsWith(QLatin1String("/files/Lumbrix.dat")));

  LocalHttpServer declined({http_answer("221")});
  dialogs_.answer = false;
  check_for_updates(declined.address());
  EXPECT_EQ(dialogs_.opened.size(), 1);
}

TEST_F(UpdateCheckTest, SameOrOlderVersionSaysThereIsNoUpdate) {
  for (const QByteArray body : {"220", "099", "1000"}) {
    dialogs_.messages.clear();
    LocalHttpServer server({http_answer(body)});
    check_for_updates(server.address());
    EXPECT_TRUE(dialogs_.questions.isEmpty());
    ASSERT_EQ(dialogs_.messages.size(), 1) << body.toStdString();
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(dialogs_.messages[0].title, QStringLiteral("No Update"));
    EXPECT_EQ(dialogs_.messages[0].text,
              QStringLiteral("There is no update of Vantrel PNG to PSD "
                             "yet. You're using the most recent version."));
  }
}

TEST_F(UpdateCheckTest, NoVersionNumberIsAConnectionProblem) {
  LocalHttpServer letters({http_answer("abc")});
  LocalHttpServer negative({http_answer("-99")});
  for (const QString &address : {letters.address(), negative.address(), unreachable_}) {
    dialogs_.messages.clear();
    check_for_updates(address);
    EXPECT_TRUE(dialogs_.questions.isEmpty());
    ASSERT_EQ(dialogs_.messages.size(), 1) << address.toStdString();
    EXPECT_EQ(dialogs_.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(dialogs_.messages[0].title, QStringLiteral("Error"));
    EXPECT_EQ(dialogs_.messages[0].text, QStringLiteral("Internet connection problems!"));
  }
}

TEST_F(UpdateCheckTest, AutomaticCheckWaitsForTheChosenInterval) {
  auto_check(5, 0, unreachable_);
  auto_check(1, now - 6 * day, unreachable_);
  auto_check(0, now - day, unreachable_);
  auto_check(9, now - 29 * day, unreachable_); // an unknown choice counts as a month
  EXPECT_TRUE(dialogs_.questions.isEmpty());
  EXPECT_TRUE(dialogs_.messages.isEmpty());
  EXPECT_EQ(settings().update_date, now - 29 * day);
}

TEST_F(UpdateCheckTest, AutomaticCheckAsksOnceDueAndRestartsTheIntervalEvenOnNo) {
  auto_check(1, now - 8 * day, unreachable_);
  EXPECT_TRUE(dialogs_.messages.isEmpty());
  ASSERT_EQ(dialogs_.questions.size(), 1);
  EXPECT_EQ(dialogs_.questions[0].icon, MessageIcon::Question);
  EXPECT_EQ(dialogs_.questions[0].title, QStringLiteral("Check for Updates"));
  EXPECT_EQ(dialogs_.questions[0].text, QStringLiteral("Do you want to check for updates?"));
  EXPECT_EQ(settings().update_date, now);

  dialogs_.questions.clear();
  auto_check(0, now - day - 1, unreachable_);
  EXPECT_EQ(dialogs_.questions.size(), 1);
}

TEST_F(UpdateCheckTest, AutomaticCheckRunsTheCheckOnYes) {
  LocalHttpServer server({http_answer("220")});
  dialogs_.answer = true;
  auto_check(4, now - 181 * day, server.address());
  ASSERT_EQ(dialogs_.questions.size(), 1);
  ASSERT_EQ(dialogs_.messages.size(), 1);
  EXPECT_EQ(dialogs_.messages[0].title, QStringLiteral("No Update"));
  EXPECT_EQ(settings().update_date, now);
}

} // namespace
} // namespace lumbrix
