#include "cli/progress_line.h"

#include <gtest/gtest.h>

namespace lumbrix {
namespace {

TEST(ProgressLine, TextShowsWhatIsKnownAndFitsTheTerminal) {
  const struct {
    ProgressFigures figures;
    int columns;
    const char *text;
  } cases[] = {
      {{0, 200, {}, -1, 0, -1}, 0, "0/200 files"},
      {{3, 10, "/in/photo.png", 45, 12.34, 75},
       0,
       "3/10 files  |  photo.png 45%  |  12.3 Mpx/s  |  1:15 left"},
      {{3, 10, "/in/photo.png", -1, 0, 3724.2}, 0, "3/10 files  |  photo.png  |  1:02:05 left"},
      // The name gives way in its middle; the figures keep their room.
      {{3, 10, "/in/abcdefghijklmnop.png", 7, 1, 5},
       60,
       "3/10 files  |  abcde...p.png 7%  |  1.0 Mpx/s  |  0:05 left"},
      {{3, 10, "/in/photo.png", 7, 1, 5}, 36, "3/10 files  |  1.0 Mpx/s  |  0:05 l"},
      // A name that would drive the terminal is shown inert.
      {{0, 1, "/in/a\x1b]0;x\x07\nb.png", -1, 0, -1}, 0, "0/1 files  |  a?]0;x??b.png"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(progress_text(c.figures, c.columns), QString::fromUtf8(c.text)) << c.text;
}

TEST(ProgressLine, ModeWordsAndWhenTheLineIsWanted) {
  EXPECT_EQ(progress_mode("NEVER"), ProgressMode::Never);
  EXPECT_EQ(progress_mode("always"), ProgressMode::Always);
  EXPECT_EQ(progress_mode("sometimes"), ProgressMode::Auto);
  EXPECT_TRUE(progress_line_wanted(ProgressMode::Always, false));
  EXPECT_FALSE(progress_line_wanted(ProgressMode::Always, true));
  EXPECT_FALSE(progress_line_wanted(ProgressMode::Never, false));
}

} // namespace
} // namespace lumbrix
