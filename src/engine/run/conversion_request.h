#pragma once

#include "engine/settings/naming.h"
#include "engine/settings/settings.h"
#include "engine/stages/watermark/watermark_font.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace lumbrix {

// Called with each step's name as a conversion finishes it, for timing.
using StepObserver = void (*)(const char *step);

inline void notify_step(StepObserver observer, const char *step) {
  if (observer)
    observer(step);
}

// One input file of a run and the sub-folder it was found in, relative to where the search
// started and ending with "/" (empty for a file named directly).
struct InputFile {
  QString path;
  QString relative_subfolder;
  QString refusal = {}; // why the file fails unread, when how it was found already says
};

// Everything a conversion run reads, built by a front and checked by check_request before the
// worker starts. The settings are the run's own copy: what the front does with its own while
// the run goes on changes nothing here.
struct ConversionRequest {
  std::vector<InputFile> files; // each path at most once
  QString output_folder;        // ending with "/"
  QString output_extension;     // an output format of the catalogue: "psd"
  Settings settings;
  // The text watermark's font; settled by check_request.
  std::optional<WatermarkFont> watermark_font;
  NameCounters counters; // %rnd% and %n% of the first file
  bool trace = false;    // a line per file on the console: its name, the output name, the result
  StepObserver step_observer = nullptr;
};

// The "<EXT> BPP" setting of the request's format: the depth asked for, 0 for the automatic one.
int requested_depth(const ConversionRequest &request);
// Whether the stages work on 16-bit samples: a 64-bit file was asked for.
bool deep_output(const ConversionRequest &request);

// What keeps a request from running, in the order the checks run.
enum class RequestProblem {
  None,
  InputFileInvalid,      // no input file, or a single one that is not a file of one byte or more
  NoOutputFolder,        // the output folder is empty
  OutputFolderNotFound,  // not an existing folder
  UnknownOutputFormat,   // the extension is not an output format
  BitDepthNotAllowed,    // the format's BPP setting is not one of its depths
  JpgQualityOutOfRange,  // JPG Quality outside 1..100 for jpg
  ResizeWidthMissing,    // resizing to a width of 0
  ResizeHeightMissing,   // resizing to a height of 0
  BrightnessOutOfRange,  // colour correction with brightness outside -100..100
  ContrastOutOfRange,    // ... contrast outside -100..100
  GammaOutOfRange,       // ... gamma outside 0.01..9.99 (or not a number)
  WatermarkFontUnusable, // a text watermark whose font cannot be had
  NoWatermarkImage,      // an image watermark without a file name
  WatermarkImageInvalid, // ... naming no file of at least one byte
};

struct RequestCheck {
  RequestProblem problem;
  bool (*passes)(ConversionRequest &request);
};

// Every check in the order it runs. A front that prints something between checks (the console's
// debug echo) walks these itself; the checks for the font also settle the request's font.
std::span<const RequestCheck> request_checks();

// The first check the request fails, or None. Both fronts run a request only after this.
RequestProblem check_request(ConversionRequest &request);

} // namespace lumbrix
