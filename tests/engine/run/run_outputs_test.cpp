#include "engine/run/run_outputs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// In a folder holding a.png, b.png, lb.png (a link to b.png) and in (a link to the folder), the
// run's inputs are a.png, gone.png (missing) and lb.png; the first file of the run claims
// one name after another.
TEST(RunOutputs, NoOutputNamesAnotherInputOrAnEarlierOutput) {
  struct Case {
    const char *output;
    QString reason; // "input", "taken" or empty
  };
  const Case cases[] = {
      {"a.png", ""}, // its own input: the commit refuses it
      {"sub/../lb.png", "input"},
      {"gone.png", "input"},  // not there, but named as an input
      {"in/lb.png", "input"}, // through a link to the folder
      {"b.png", "input"},     // what an input's link leads to
      {"out.psd", ""},
      {"in/out.psd", "taken"}, // the same name as before, by another path
  };
  QTemporaryDir dir;
  const QString folder = dir.path() + '/';
  for (const char *name : {"a.png", "b.png"})
    QFile(folder + name).open(QIODevice::WriteOnly);
  ASSERT_TRUE(QFile::link(folder + "b.png", folder + "lb.png"));
  ASSERT_TRUE(QFile::link(dir.path(), folder + "in"));
  ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
  RunOutputs outputs({{folder + "a.png", ""}, {folder + "gone.png", ""}, {folder + "lb.png", ""}});
  for (const Case &c : cases) {
    const QString output = folder + c.output;
    const QString expected =
        c.reason == "input"   ? "the output name " + output + " is another input of this run"
        : c.reason == "taken" ? "another file of this run is written as " + output
                              : QString();
    EXPECT_EQ(outputs.claim(output, 0), expected) << c.output;
  }
}

} // namespace
} // namespace lumbrix
