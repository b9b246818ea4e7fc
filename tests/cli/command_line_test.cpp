#include "cli/command_line.h"
#include "engine/settings/settings.h"
#include "platform/console.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lumbrix {
namespace {

class CommandLine : public ::testing::Test {
protected:
  void SetUp() override { console_capture(&output); }
  void TearDown() override { console_capture(nullptr); }

  int run(const QStringList &parameters) { return command_line_main(parameters); }

  QString write_profile(const QByteArray &content) {
    const QString path = dir.filePath(QStringLiteral("profile.ini"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path;
  }

  QString output;
  QTemporaryDir dir;
};

TEST_F(CommandLine, NoParametersGoesToWindowModeWithoutOutput) {
  EXPECT_EQ(run({}), -1);
  EXPECT_TRUE(output.isEmpty());
}

TEST_F(CommandLine, VersionAndHelpPrintOnlyTheirText) {
  EXPECT_EQ(run({QStringLiteral("-v")}), 0);
  EXPECT_EQ(output, "2.2\r\n");
  output.clear();
  EXPECT_EQ(run({QStringLiteral("--HELP")}), 0);
  const QStringList lines = output.split(QStringLiteral("\r\n"));
  ASSERT_GE(lines.size(), 36);
  EXPECT_EQ(lines[0], " ");
  EXPECT_TRUE(lines[1].startsWith("Usage: ")) << lines[1].toStdString();
  EXPECT_TRUE(lines[1].endsWith(" -i <filename> [options]"));
  EXPECT_TRUE(lines[6].endsWith("-o d:\\converted --jpg-quality=95"));
  EXPECT_EQ(lines[37], "  -v, --version             Display version information and exit");
  EXPECT_FALSE(output.contains("%s"));
}

TEST_F(CommandLine, MissingOrDashValuesAreReportedOnOneLine) {
  const QStringList cases[] = {
      {QStringLiteral("-i")},
      {QStringLiteral("-i"), QStringLiteral("-o"), QStringLiteral("out")},
      {QStringLiteral("--input"), QStringLiteral("photo.png")},
      {QStringLiteral("--width"), QStringLiteral("640")},
      {QStringLiteral("--wm-text=")},
  };
  for (const QStringList &parameters : cases) {
    output.clear();
    EXPECT_EQ(run(parameters), 1) << parameters.join(' ').toStdString();
    EXPECT_EQ(output, "Error: Incorrect number of parameters\r\n");
  }
}

TEST_F(CommandLine, OptionsWithoutInputAreParsedThenWindowModeFollows) {
  EXPECT_EQ(run({QStringLiteral("-q"), QStringLiteral("--width=640"), QStringLiteral("--WIDTH=800"),
                 QStringLiteral("--invert=0"), QStringLiteral("--jpg-chroma=nonsense"),
                 QStringLiteral("--brightness=-20"), QStringLiteral("bare.png")}),
            -1);
  EXPECT_TRUE(output.isEmpty());
  const Settings s =
      read_command_line({QStringLiteral("--width=640"), QStringLiteral("--WIDTH=800"),
                         QStringLiteral("--invert=0"), QStringLiteral("--jpg-chroma=nonsense"),
                         QStringLiteral("--brightness=-20")})
          .job.settings;
  EXPECT_EQ(s.image_width, 800);
  EXPECT_EQ(s.do_image_resize, 1);
  EXPECT_EQ(s.image_invert, 1);
  EXPECT_EQ(s.do_image_color_correction, 1);
  EXPECT_EQ(s.image_brightness, -20);
  EXPECT_EQ(s.jpg_chroma, 0);
  EXPECT_EQ(s.keep_aspect_ratio, 0); // console defaults
}

TEST_F(CommandLine, QuotedWordsSplitOverParametersAreJoined) {
  const Settings s =
      read_command_line({QStringLiteral("--wm-text=\"three"), QStringLiteral("little"),
                         QStringLiteral("words\""), QStringLiteral("--wm-font=\"Free Sans\"")})
          .job.settings;
  EXPECT_EQ(s.text, "three little words");
  EXPECT_EQ(s.do_watermark, WatermarkKind::Text);
  EXPECT_EQ(s.font, "Free Sans");
}

TEST_F(CommandLine, KeywordAndPerFormatOptionsStoreTheirNumbers) {
  const Settings s =
      read_command_line({QStringLiteral("--wm-text-position=bottomleft"),
                         QStringLiteral("--tiff-compression=lzw"),
                         QStringLiteral("--png-interlaced"), QStringLiteral("--raw-width=$100"),
                         QStringLiteral("--psd-bpp=32"),
                         QStringLiteral("--wm-font-effect=strikethrought"),
                         QStringLiteral("--resize-algorithm= Lanczos ")})
          .job.settings;
  EXPECT_EQ(s.text_position, 6);
  EXPECT_EQ(s.tiff_compression, 6);
  EXPECT_EQ(s.png_interlaced, 1);
  EXPECT_EQ(s.raw_image_width, 256);
  EXPECT_EQ(s.psd_bpp, 32);
  EXPECT_EQ(s.font_effect, 2);
  EXPECT_EQ(s.image_resize_algorithm, 5);
}

TEST_F(CommandLine, ProfileAppliesAtItsPlaceInTheLine) {
  const QString profile =
      write_profile("[Other]\r\n--WIDTH=1\r\n[cli]\r\n--width = 1024\r\n"
                    "--Wm-Text = \"quoted stays\"\r\n--invert=0\r\n--input=ignored.png\r\n");
  const CommandLineOptions read =
      read_command_line({QStringLiteral("--width=640"), QStringLiteral("--profile=") + profile});
  EXPECT_EQ(read.job.settings.image_width, 1024);
  EXPECT_EQ(read.job.settings.text, "\"quoted stays\"");
  EXPECT_EQ(read.job.settings.image_invert, 1);
  EXPECT_FALSE(read.input_given);
  EXPECT_EQ(
      read_command_line({QStringLiteral("--profile=") + profile, QStringLiteral("--width=640")})
          .job.settings.image_width,
      640);
}

TEST_F(CommandLine, ProfileWithoutCliSectionIsAcceptedAndMissingOneIsAnError) {
  const QString profile = write_profile("[General]\r\nx=1\r\n");
  EXPECT_EQ(run({QStringLiteral("--profile=") + profile}), -1);
  EXPECT_TRUE(output.isEmpty());
  const QString missing = dir.filePath("missing.ini");
  EXPECT_EQ(run({QStringLiteral("--profile=") + missing}), 1);
  EXPECT_EQ(output, "Error: Invalid profile file\r\n" + missing + " cannot be opened\r\n");
}

TEST_F(CommandLine, CommandsCountOnlyAsFirstParameter) {
  EXPECT_EQ(run({QStringLiteral("-v"), QStringLiteral("-i"), QStringLiteral("x.png")}), 0);
  EXPECT_EQ(output, "2.2\r\n");
  output.clear();
  run({QStringLiteral("-q"), QStringLiteral("-i"), QStringLiteral("x.png"), QStringLiteral("-v")});
  EXPECT_FALSE(output.startsWith("2.2"));
  EXPECT_TRUE(read_command_line({QStringLiteral("-q"), QStringLiteral("-i"),
                                 QStringLiteral("x.png"), QStringLiteral("-v")})
                  .input_given);
}

// `lumbrix a.png b.png` opens the window with those files: window mode, the paths made absolute.
TEST_F(CommandLine, FileParametersAreTheWindowsInput) {
  const QString here = QDir::currentPath();
  EXPECT_EQ(window_file_arguments({"photo.png"}), QStringList{here + "/photo.png"});
  EXPECT_EQ(window_file_arguments({"../a/photo.png", "file:///srv/a%20b/p.png", "/x/q.png"}),
            (QStringList{QDir::cleanPath(here + "/../a/photo.png"), "/srv/a b/p.png", "/x/q.png"}));
  for (const QStringList &other :
       {QStringList{}, {""}, {"-i"}, {"--width=5"}, {"a.png", "-q"}, {"a.png", ""}})
    EXPECT_EQ(window_file_arguments(other), QStringList{});
  EXPECT_EQ(run({QStringLiteral("photo.png"), QStringLiteral("more.png")}), -1);
  EXPECT_TRUE(output.isEmpty());
}

TEST_F(CommandLine, InputGivenIsSetEvenWhenItsValueIsRejected) {
  EXPECT_TRUE(read_command_line({QStringLiteral("-i")}).input_given);
}

} // namespace
} // namespace lumbrix
