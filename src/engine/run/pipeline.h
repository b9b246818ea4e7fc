#pragma once

#include "engine/image/image.h"
#include "engine/run/conversion_request.h"
#include "engine/run/output_file.h"
#include "engine/run/run_outputs.h"
#include "engine/stages/stages.h"

#include <QString>

#include <functional>

namespace lumbrix {

// Told each step's name as it is done; false abandons the picture (a stop request).
using StepMonitor = std::function<bool(const char *step)>;

// Every stage in order, from rotation to the output depth, as a conversion runs them. The
// monitor (if any) hears each step; when a stage fails, reason (if given) says which and why.
Image run_stages(Image image, const StageContext &context, const StepMonitor &monitor = {},
                 QString *reason = nullptr);

enum class FileStatus {
  Converted,
  Failed,       // with its reason
  NotConverted, // stopped while in progress, or not reached
};

// What became of one file.
struct FileResult {
  FileStatus status = FileStatus::NotConverted;
  QString output_path; // the name it is written under; empty when it failed before naming
  QString reason;      // why it failed, in words that follow the file's name
};

// How far one file is, in thousandths (loading, the stages, writing), and whether to go on.
struct FileProgress {
  std::function<void(int permille)> report;
  std::function<bool()> keep_running;
};

// A file taken as far as its temporary file; what is left is to name it and put it in place,
// which happens in the order of the request.
struct PreparedFile {
  FileResult result; // Failed or NotConverted when it ended before the temporary file
  WrittenOutput written;
  TokenValues values; // the naming tokens but the counters and the time, which naming sets
};

// Loads the file, runs the stages and writes the temporary file; a file found with a refusal
// fails with it, unread. counters are those the watermark text sees.
PreparedFile prepare_file(const ConversionRequest &request, const InputFile &file,
                          const NameCounters &counters, const FileProgress &progress = {});

// Names a prepared file with counters and puts it in place, unless the mask does not give one
// file name (output_name_problem) or the run's outputs refuse that name to the file at index of
// the request (another input of the run, or a name an earlier file was given).
FileResult commit_file(const ConversionRequest &request, std::size_t index, PreparedFile &prepared,
                       const NameCounters &counters, RunOutputs &outputs);

// Both steps for one file on its own.
FileResult convert_file(const ConversionRequest &request, const InputFile &file,
                        const NameCounters &counters, const FileProgress &progress = {});

// After a converted file: the output's time as File Timestamp asks.
void apply_file_timestamp(const Settings &s, const QString &input, const QString &output);

} // namespace lumbrix
