#include "prefs/message_boxes.h"
#include "text/lang.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class RecordingDialogs final : public SystemDialogs {
public:
  void message(MessageIcon icon, const QString &title, const QString &text) override {
    last_icon = icon;
    last_title = title;
    last_text = text;
  }
  bool question(MessageIcon icon, const QString &title, const QString &text) override {
    message(icon, title, text);
    return answer;
  }
  QString open_file(const QString &, const QString &, const QString &) override { return {}; }
  QString choose_folder(const QString &, const QString &) override { return {}; }
  std::optional<QColor> choose_colour(const QColor &) override { return std::nullopt; }
  std::optional<QFont> choose_font(const QFont &) override { return std::nullopt; }
  void open_url(const QString &, std::function<void(bool)>) override {}

  MessageIcon last_icon = MessageIcon::Information;
  QString last_title;
  QString last_text;
  bool answer = true;
};

class MessageBoxesTest : public ::testing::Test {
protected:
  void SetUp() override {
    lang_load();
    set_system_dialogs(&dialogs_);
  }
  void TearDown() override { set_system_dialogs(nullptr); }
  RecordingDialogs dialogs_;
};

TEST_F(MessageBoxesTest, TitlesAndIconsFollowTheKindOfMessage) {
  show_error(QStringLiteral("boom"));
  EXPECT_EQ(dialogs_.last_icon, MessageIcon::Error);
  EXPECT_EQ(dialogs_.last_title, QStringLiteral("Error"));
  EXPECT_EQ(dialogs_.last_text, QStringLiteral("boom"));
  show_warning(QStringLiteral("careful"));
  EXPECT_EQ(dialogs_.last_icon, MessageIcon::Warning);
  EXPECT_EQ(dialogs_.last_title, QStringLiteral("Warning"));
  show_info(QStringLiteral("No Update"), QStringLiteral("latest"));
  EXPECT_EQ(dialogs_.last_icon, MessageIcon::Information);
  EXPECT_EQ(dialogs_.last_title, QStringLiteral("No Update"));
  EXPECT_TRUE(ask_yes_no(QStringLiteral("Warning"), QStringLiteral("Stop?"), MessageIcon::Warning));
  EXPECT_EQ(dialogs_.last_icon, MessageIcon::Warning);
}

TEST_F(MessageBoxesTest, WithoutInstalledDialogsNothingIsShownAndTheAnswerIsNo) {
  EXPECT_EQ(set_system_dialogs(nullptr), &dialogs_);
  EXPECT_EQ(set_system_dialogs(nullptr), nullptr);
  show_error(QStringLiteral("unseen"));
  EXPECT_FALSE(ask_yes_no(QStringLiteral("t"), QStringLiteral("q"), MessageIcon::Question));
  EXPECT_TRUE(
      system_dialogs().open_file(QStringLiteral("t"), QStringLiteral("a|*.png|"), {}).isEmpty());
  EXPECT_TRUE(dialogs_.last_text.isEmpty());
}

TEST(NameFiltersTest, PipeFilterBecomesQtFilters) {
  const QStringList filters = name_filters(QStringLiteral(
      "All Supported Files|*.png;*.apng|Portable Network Graphics|*.png|All Files (*.*)|*.*"));
  EXPECT_EQ(filters, QStringList({QStringLiteral("All Supported Files (*.png *.apng)"),
                                  QStringLiteral("Portable Network Graphics (*.png)"),
                                  QStringLiteral("All Files (*)")}));
  EXPECT_TRUE(name_filters(QString()).isEmpty());
}

} // namespace
} // namespace lumbrix
