#include "engine/run/run_outputs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

// In a folder holding a.png, b.png, lb.png (a link to b.png) and in (a link to the folder), the
// run's inputs are a.png, gone.png (missing) and lb.png; its first file claims name after name.
TEST(RunOutputs, NoOutputNamesAnotherInputOrAnEarlierOutput) {
  const std::pair<const char *, const char *> cases[] = {
      {"a.png", ""}, // its own input, which the commit refuses
      {"sub/../lb.png", " is another input of this run"},
      {"gone.png", " is another input of this run"},
      {"in/lb.png", " is another input of this run"},
      {"b.png", " is another input of this run"}, // what an input's link leads to
      {"out.psd", ""},
      {"in/out.psd", "taken"},
  };
  QTemporaryDir dir;
  const QString folder = dir.path() + '/';
  QFile(folder + "a.png").open(QIODevice::WriteOnly);
  QFile(folder + "b.png").open(QIODevice::WriteOnly);
  ASSERT_TRUE(QFile::link(folder + "b.png", folder + "lb.png") &&
              QFile::link(dir.path(), folder + "in") && QDir(folder).mkdir("sub"));
  RunOutputs outputs({{folder + "a.png", ""}, {folder + "gone.png", ""}, {folder + "lb.png", ""}});
  for (const auto &[name, end] : cases) {
    const QString output = folder + name;
    const QString expected = QString(end) == "taken"
                                 ? "another file of this run is written as " + output
                             : *end ? "the output name " + output + end
                                    : QString();
    EXPECT_EQ(outputs.claim(output, 0), expected) << name;
  }
}

} // namespace
} // namespace lumbrix
