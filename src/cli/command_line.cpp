#include "cli/command_line.h"

#include "build_constants.h"
#include "cli/console_run.h"
#include "cli/help_text.h"
#include "cli/option_values.h"
#include "cli/profile.h"
#include "cli/setting_options.h"
#include "engine/settings/product.h"
#include "platform/console.h"
#include "platform/program_path.h"
#include "text/lang.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <cstdio>
#include <random>

namespace lumbrix {
namespace {

struct Parser : CommandLineOptions {
  explicit Parser(const QStringList &parameters) : params(parameters) {}

  const QStringList &params;
  int i = 0;

  int count() const { return static_cast<int>(params.size()); }
  QString value_at(int index) const {
    return index < count() ? option_value(params[index]) : QString();
  }
  void fail() { error = QStringLiteral("Incorrect number of parameters"); }
};

const QString quote = QStringLiteral("\"");

// A quoted value split over several parameters is joined back with single blanks.
QString join_quoted(Parser &p, QString value) {
  if (value.startsWith(quote) && !value.endsWith(quote)) {
    while (!value.endsWith(quote) && p.i + 1 < p.count())
      value += QLatin1Char(' ') + p.value_at(++p.i);
  }
  return strip_quotes(value);
}

// The value of -i/-o/-c (next parameter) or --input/--output/--conversion (own parameter).
bool general_value(Parser &p, bool short_form, QString &value) {
  if (short_form)
    ++p.i;
  value = p.value_at(p.i);
  if (value.isEmpty() || value.startsWith(QLatin1Char('-'))) {
    p.fail();
    return false;
  }
  return true;
}

bool long_value(Parser &p, QString &value) {
  value = p.value_at(p.i);
  if (value.isEmpty() || value.startsWith(QLatin1String("--"))) {
    p.fail();
    return false;
  }
  return true;
}

bool apply_setting_option(Parser &p, const SettingOption &option) {
  QString raw;
  if (option.kind != ValueKind::None && !long_value(p, raw))
    return false;
  if (option.kind == ValueKind::Text)
    raw = join_quoted(p, raw);
  option.apply(p.job.settings, read_option_value(option, raw));
  return true;
}

bool is_one_of(const QString &name, const char *a, const char *b) {
  return name == QLatin1String(a) || name == QLatin1String(b);
}

// One parameter; false stops parsing with the error set.
bool parse_one(Parser &p) {
  const QString name = option_name(p.params[p.i]);
  QString value;
  if (is_one_of(name, "-I", "--INPUT")) {
    p.input_given = true;
    if (!general_value(p, name == QLatin1String("-I"), value))
      return false;
    p.job.input = join_quoted(p, value);
  } else if (name == QLatin1String("--INPUT-LIST")) {
    p.input_given = true;
    if (!long_value(p, value))
      return false;
    p.job.input_list = join_quoted(p, value);
  } else if (name == QLatin1String("--RECURSIVE")) {
    p.job.recursive = true;
  } else if (name == QLatin1String("--PROGRESS")) {
    if (!long_value(p, value))
      return false;
    p.job.progress = progress_mode(strip_quotes(value));
  } else if (is_one_of(name, "-O", "--OUTPUT")) {
    if (!general_value(p, name == QLatin1String("-O"), value))
      return false;
    p.job.output_folder = join_quoted(p, value);
  } else if (name == QLatin1String("--CREATE-OUTPUT-FOLDER")) {
    p.job.create_output_folder = true;
  } else if (is_one_of(name, "-C", "--CONVERSION")) {
    if (!general_value(p, name == QLatin1String("-C"), value))
      return false;
    p.job.output_extension = strip_quotes(value);
  } else if (name == QLatin1String("--PROFILE")) {
    if (!long_value(p, value))
      return false;
    if (!load_profile(profile_path(join_quoted(p, value)), p.job.settings, &p.error_reason)) {
      p.error = QStringLiteral("Invalid profile file");
      return false;
    }
  } else if (is_one_of(name, "-D", "--DEBUG")) {
    p.job.mode = RunMode::Debug;
  } else if (is_one_of(name, "-Q", "--QUIET")) {
    p.quiet = true;
  } else if (is_one_of(name, "-P", "--PAUSE")) {
    p.pause = true;
  } else if (const SettingOption *option = find_setting_option(name)) {
    return apply_setting_option(p, *option);
  }
  return true;
}

QString program_name() {
  const QString path = program_path();
  return path.isEmpty() ? QStringLiteral("lumbrix") : QFileInfo(path).completeBaseName();
}

QString random_input_extension() {
  const QStringList &list = input_formats();
  static std::mt19937 engine{std::random_device{}()};
  return list.value(
      std::uniform_int_distribution<int>(0, static_cast<int>(list.size()) - 1)(engine));
}

void print_lines(const QStringList &lines) {
  console_open(window_title());
  for (const QString &line : lines)
    console_line(line);
  console_close();
}

void print_banner() {
  console_line(window_title());
  console_line(QString::fromUtf8(build::notice).replace(QChar(0x00A9), QStringLiteral("(c)")));
  console_line(QString::fromUtf8(build::vendor_site));
  console_line(QStringLiteral(" "));
}

int report_error(const CommandLineOptions &p) {
  console_open(window_title());
  console_line(QStringLiteral("Error: ") + p.error);
  if (!p.error_reason.isEmpty())
    console_line(p.error_reason);
  if (p.pause)
    console_wait_key();
  console_close();
  return 1;
}

int run_console(const CommandLineOptions &p) {
  console_open(window_title());
  if (!p.quiet)
    print_banner();
  const int status = console_run(p.job, p.quiet);
  if (p.pause) {
    console_line(QStringLiteral("Press any key to exit."));
    console_wait_key();
  }
  console_close();
  return status;
}

int unavailable_command(const char *what) {
  std::fprintf(stderr, "%s is not available in this build yet.\n", what);
  return 0;
}

} // namespace

CommandLineOptions read_command_line(const QStringList &parameters) {
  Parser parser(parameters);
  parser.job.settings = default_settings(SettingsUse::Console);
  for (parser.i = 0; parser.i < parser.count(); ++parser.i) {
    if (!parse_one(parser))
      break;
  }
  return parser;
}

QStringList window_file_arguments(const QStringList &parameters) {
  QStringList files;
  for (const QString &given : parameters) {
    if (given.isEmpty() || given.startsWith(QLatin1Char('-')))
      return {};
    const QString path =
        given.startsWith(QLatin1String("file:")) ? QUrl(given).toLocalFile() : given;
    if (path.isEmpty())
      return {};
    files << QDir::cleanPath(QDir::current().absoluteFilePath(path));
  }
  return files;
}

int command_line_main(const QStringList &parameters, const WindowCommands &commands) {
  if (parameters.isEmpty())
    return -1;
  lang_load();
  const QString first = option_name(parameters[0]);
  if (first == QLatin1String("-U")) {
    if (!commands.uninstall_page)
      return unavailable_command("The uninstall page");
    commands.uninstall_page();
    return 0;
  }
  if (first == QLatin1String("-T")) {
    if (commands.screenshot_mode)
      return commands.screenshot_mode(parameters.size() > 1 ? option_value(parameters[1])
                                                            : QString());
    return 0;
  }
  if (is_one_of(first, "-V", "--VERSION")) {
    print_lines({format_version(product_version)});
    return 0;
  }
  if (is_one_of(first, "-H", "--HELP") || first == QLatin1String("-?")) {
    print_lines(help_text(program_name(), random_input_extension()));
    return 0;
  }
  const CommandLineOptions options = read_command_line(parameters);
  if (!options.error.isEmpty())
    return report_error(options);
  if (!options.input_given)
    return -1;
  const Settings &s = options.job.settings;
  if (commands.drawing_program &&
      (s.do_frame != FrameKind::None || s.do_watermark != WatermarkKind::None))
    return commands.drawing_program();
  return run_console(options);
}

} // namespace lumbrix
