#pragma once

#include "engine/conversion_request.h"
#include "engine/image.h"
#include "engine/progress.h"
#include "engine/stages.h"

#include <QString>

namespace lumbrix {

// Every stage in order, from rotation to the output depth, as a conversion runs them; observer
// (if any) is told each step's name as it is done.
Image run_stages(Image image, const StageContext &context, StepObserver observer = nullptr);

// What became of one file.
struct FileResult {
  bool converted = false;
  QString output_path; // the name it is written under; empty when it failed before naming
  QString reason;      // why it failed; empty when converted
};

// Converts one file of the request, naming it with counters. The PSD is written to a temporary
// file beside it through the descriptor that created it, synced, and renamed over the final
// name, so an earlier file of that name survives a failure and no temporary file is left
// behind. A name from the mask that is not one file name fails the file.
FileResult convert_file(const ConversionRequest &request, const InputFile &file,
                        const NameCounters &counters);

// What a run did: the files it converted and the counters for the file after the last one.
struct RunResult {
  int files_converted = 0;
  NameCounters counters;
};

// The thread procedure of a run: converts the request's files one after another while progress
// says to keep running, and records in progress which file it is on and, at the end, how many
// it converted. After each converted file the counters move on and the file time is set.
RunResult run_conversion(const ConversionRequest &request, ProgressRecord &progress);

} // namespace lumbrix
