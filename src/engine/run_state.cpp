#include "engine/run_state.h"

#include "engine/format_catalogue.h"
#include "platform/program_path.h"

#include <QFileInfo>

#include <random>

namespace lumbrix {
namespace {

std::function<void(const QString &)> &input_callback() {
  static std::function<void(const QString &)> callback;
  return callback;
}

} // namespace

RunState &run_state() {
  static RunState state;
  return state;
}

JobSet &job_set() {
  static JobSet jobs;
  return jobs;
}

ProgressRecord &progress() {
  static ProgressRecord record;
  return record;
}

int random_number() {
  static std::mt19937 engine{std::random_device{}()};
  return std::uniform_int_distribution<int>(1, 99999)(engine);
}

QString program_folder() { return QFileInfo(program_path()).absolutePath() + QLatin1Char('/'); }

void start_progress() {
  ProgressRecord &record = progress();
  const std::lock_guard lock(record.mutex);
  record.files_started = 0;
  record.current_file.clear();
  record.files_converted = 0;
  record.keep_running = true;
}

void reset_run_state() {
  RunState &state = run_state();
  const QString mode = state.mode_text;
  state = RunState{};
  state.mode_text = mode;
  state.program_folder = program_folder();
  state.random_number = random_number();
  state.sequence_number = 1;
  job_set().clear();
  build_accepted_extensions();
}

QString file_extension(const QString &path) {
  const int dot = static_cast<int>(path.lastIndexOf(QLatin1Char('.')));
  if (dot < 0)
    return QString();
  for (int i = dot + 1; i < path.size(); ++i) {
    const QChar c = path.at(i);
    if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(' '))
      return QString();
  }
  return path.mid(dot + 1).toLower();
}

QString folder_part(const QString &path) {
  const qsizetype end =
      std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
  return path.left(end + 1);
}

QString relative_subfolder(const QString &path, const QString &base) {
  if (path.isEmpty() || base.isEmpty())
    return QString();
  QString folder = folder_part(path);
  const auto at = folder.indexOf(base);
  if (at >= 0)
    folder.remove(at, base.size());
  return folder;
}

void set_input_file_callback(std::function<void(const QString &)> callback) {
  input_callback() = std::move(callback);
}

bool set_input_file(const QString &path) {
  const QFileInfo info(path);
  if (!info.isFile() || info.size() < 1 || !is_listed(file_extension(path), accepted_extensions()))
    return false;
  RunState &state = run_state();
  job_set().clear();
  job_set()[path] = Job{1, relative_subfolder(path, state.input_base_folder)};
  if (!state.input_given && input_callback())
    input_callback()(path);
  return true;
}

} // namespace lumbrix
