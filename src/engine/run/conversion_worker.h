#pragma once

#include "engine/run/conversion_request.h"
#include "engine/run/pipeline.h"
#include "engine/run/progress.h"

#include <vector>

namespace lumbrix {

// What a run did: each file's result in request order, the number converted, the counters for
// the file after the last one, and whether it was stopped.
struct RunResult {
  std::vector<FileResult> files;
  int files_converted = 0;
  NameCounters counters;
  bool stopped = false;
};

// The thread procedure of a run. Files are converted side by side, one worker per core, within a
// budget of memory that large pictures wait their turn for; each is then named and put in place
// in the order of the request, so names and counters come out as converting the files one by
// one would give them. A worker starts a file only a few files ahead of the one whose turn it
// is, so what the run holds open stays small however long it is, and no file is put in place
// under the name of one of the run's inputs. A watermark text naming the counters makes the
// files go one by one. Past each converted file the counters move on and the file time is set;
// progress says which file was started last and how far the run is, and at the end how many
// files were converted. The soft limit on open descriptors is raised to the hard one first.
RunResult run_conversion(const ConversionRequest &request, ProgressRecord &progress);

} // namespace lumbrix
