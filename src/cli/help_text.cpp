#include "cli/help_text.h"

#include "text/lang.h"

namespace lumbrix {

QStringList help_text(const QString &program, const QString &extension) {
  const auto fill = [&](const char *line) {
    return lang_format(QString::fromLatin1(line), program, extension);
  };
  return {
      QStringLiteral(" "),
      fill("Usage: %s1% -i <filename> [options]"),
      QStringLiteral(" "),
      fill("  %s1% -i example.%s2%"),
      fill("  %s1% -i c:\\tmp\\example.%s2%"),
      fill("  %s1% -i c:\\tmp\\example.%s2% -o d:\\converted"),
      fill("  %s1% -i c:\\tmp\\example.%s2% -o d:\\converted --jpg-quality=95"),
      QStringLiteral(" "),
      QStringLiteral("Options:"),
      QStringLiteral(" "),
      QStringLiteral("  -h, -?, --help            Display this help and exit"),
      QStringLiteral(
          "  -i FILE, --input=FILE     Set input file, or a folder to convert every picture in it"),
      QStringLiteral("  --input-list=FILE         Convert the files a list names, one path a line"),
      QStringLiteral(
          "  --recursive               With a folder as input, take its sub-folders too"),
      QStringLiteral("  -o PATH, --output=PATH    Set output folder"),
      QStringLiteral("  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)"),
      QStringLiteral(" "),
      QStringLiteral("Advanced options:"),
      QStringLiteral(" "),
      QStringLiteral("  --width=NUM               Set output image width"),
      QStringLiteral("  --height=NUM              Set output image height"),
      QStringLiteral("  --filename-mask=STR       Define output filename format"),
      QStringLiteral("  --flip-horizontal         Flip output image horizontally"),
      QStringLiteral("  --flip-vertical           Flip output image vertically"),
      QStringLiteral("  --brightness=NUM          Set output image brightness, NUM = -100..100"),
      QStringLiteral("  --contrast=NUM            Set output image contrast, NUM = -100..100"),
      QStringLiteral("  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99"),
      QStringLiteral("  --invert                  Invert output image"),
      QStringLiteral("  --greyscale               Greyscale output image"),
      QStringLiteral("  --profile=FILE            Set configuration file with required settings"),
      QStringLiteral("    ...                     Refer documentation for all available options"),
      QStringLiteral(" "),
      QStringLiteral("Other options:"),
      QStringLiteral(" "),
      QStringLiteral("  -q, --quiet               Don't print status messages to stdout"),
      QStringLiteral("  -d, --debug               Print debug information to stdout"),
      QStringLiteral("  -p, --pause               Pause at exit"),
      QStringLiteral("  -v, --version             Display version information and exit"),
      QStringLiteral(
          "  --progress=WORD           Progress line on stderr, WORD = (auto | never | always)"),
  };
}

} // namespace lumbrix
