#pragma once

#include "engine/conversion_request.h"
#include "engine/image.h"
#include "engine/progress.h"
#include "engine/stages.h"

#include <QString>

#include <functional>
#include <vector>

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

// Converts one file of the request, naming it with counters. The PSD is written to a temporary
// file beside it through the descriptor that created it, synced, and renamed over the final
// name, so an earlier file of that name survives a failure or a stop and no temporary file is
// left behind. A name from the mask that is not one file name fails the file. With a progress
// record, the file's progress is reported there and a stop request abandons the file.
FileResult convert_file(const ConversionRequest &request, const InputFile &file,
                        const NameCounters &counters, ProgressRecord *progress = nullptr);

// What a run did: each file's result in request order, the number converted, the counters for
// the file after the last one, and whether it was stopped.
struct RunResult {
  std::vector<FileResult> files;
  int files_converted = 0;
  NameCounters counters;
  bool stopped = false;
};

// The thread procedure of a run: converts the request's files one after another while progress
// says to keep running, and records in progress which file it is on and, at the end, how many
// it converted. After each converted file the counters move on and the file time is set.
RunResult run_conversion(const ConversionRequest &request, ProgressRecord &progress);

} // namespace lumbrix
