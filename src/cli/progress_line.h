#pragma once

#include "engine/run/input_files.h"
#include "engine/run/progress.h"

#include <QString>

#include <chrono>
#include <vector>

namespace lumbrix {

// Whether a console run shows its progress line: on a terminal (auto), never, or always.
enum class ProgressMode { Auto, Never, Always };

// The --progress value, in any letter case; an unknown word is the default, auto.
ProgressMode progress_mode(const QString &word);

// A quiet run never shows the line; otherwise the mode decides, auto by whether standard error
// is a terminal.
bool progress_line_wanted(ProgressMode mode, bool quiet);

// What the line says at one moment.
struct ProgressFigures {
  int files_done = 0;
  int files_total = 0;
  QString current_file;             // the file in progress; empty when none
  int current_percent = -1;         // its own percentage, -1 when not shown
  double megapixels_per_second = 0; // 0 until known
  double seconds_left = -1;         // negative until known
};

// The line, fitted into the given number of columns (0: no limit); control characters of a file
// name are shown as "?".
QString progress_text(const ProgressFigures &figures, int columns);

// Follows one run's record and draws its line on standard error. The files are the run's, in
// order: the worker starts them in that order, so the first files_started of them are those seen.
class ProgressLine {
public:
  explicit ProgressLine(const std::vector<InputFile> &files);

  void draw(ProgressRecord &record);
  void clear();

  // The wait between two drawings, in milliseconds: ten a second at most.
  static constexpr int interval_ms = 100;

private:
  ProgressFigures figures(ProgressRecord &record);
  void read_sizes(int files_started);

  const std::vector<InputFile> &files_;
  std::vector<double> megapixels_; // of the files started so far, from their headers
  double megapixels_started_ = 0;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

} // namespace lumbrix
