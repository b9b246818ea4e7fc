#pragma once

#include <QString>

#include <functional>
#include <map>
#include <mutex>

namespace lumbrix {

// The job of the current run and the file being converted. The front fills it before a run;
// while the worker runs, the worker alone writes the per-file fields.
struct RunState {
  QString program_folder; // with a trailing separator
  QString input_path;
  QString input_base_folder; // the console -i value until the console run takes it
  QString input_format;
  QString relative_subfolder;
  QString output_folder; // with a trailing separator
  QString output_path;
  QString temporary_path;
  QString output_extension;
  int output_format_id = 0;
  int output_bit_depth = 0;
  int save_flags = 0;
  bool automatic_depth = false;
  int input_bit_depth = 0;
  int output_width = 0;
  int output_height = 0;
  int random_number = 1;
  int sequence_number = 1;
  bool input_given = false;
  QString mode_text; // "", "DEBUG" or "T"; survives reset_run_state
  int preferences_start_page = 0;
  QString finder_from_text;
  QString finder_to_text;

  bool debug() const { return mode_text == QLatin1String("DEBUG"); }
};

// One input file of a run: a marker and the sub-folder relative to where it was found.
struct Job {
  int marker = 1;
  QString relative_subfolder;
};

// Input files of a run, keyed by full path so a path is converted at most once.
using JobSet = std::map<QString, Job>;

// What the worker has done so far. Read and written under `mutex` only, except
// files_converted, which the front reads after the worker has ended.
struct ProgressRecord {
  std::mutex mutex;
  int files_started = 0;
  QString current_file;
  int files_converted = 0;
  bool keep_running = false;
};

// Under the mutex: counters cleared and keep running set, before a worker starts.
void start_progress();

RunState &run_state();
JobSet &job_set();
ProgressRecord &progress();

// A new random value 1..99999 for the %rnd% token.
int random_number();

// Back to the reset values (mode text kept), job set emptied, accepted extensions rebuilt.
void reset_run_state();

// The folder of the running executable, with a trailing separator.
QString program_folder();

// Makes path the run's only input when it names a non-empty file with an accepted extension.
bool set_input_file(const QString &path);

// The window front registers how an accepted input updates the main window.
void set_input_file_callback(std::function<void(const QString &)> callback);

// The folder part of path with base removed when it contains it; empty if either is empty.
QString relative_subfolder(const QString &path, const QString &base);

// The folder part of a path, up to and including its last "/" or "\"; empty without one.
QString folder_part(const QString &path);

// Lower-cased text after the last "." that follows the last "\", "/" or blank.
QString file_extension(const QString &path);

} // namespace lumbrix
