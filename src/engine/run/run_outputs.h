#pragma once

#include "engine/run/conversion_request.h"
#include "platform/files.h"

#include <QString>

#include <map>
#include <set>
#include <vector>

namespace lumbrix {

// The names a run may still write under: never one of its own inputs, whether read yet or not,
// and never one an earlier file of the run was given. Paths are compared once resolved: the
// same file when both name one (a link among the inputs counts as itself and as what it leads
// to), otherwise the same resolved path.
class RunOutputs {
public:
  explicit RunOutputs(const std::vector<InputFile> &inputs);

  // Takes output_path for the file at index of the inputs; the reason when it cannot be had
  // (another input or an earlier output), empty when it is the file's own.
  QString claim(const QString &output_path, std::size_t index);

private:
  std::map<FileIdentity, std::size_t> input_files_;
  std::map<QString, std::size_t> input_paths_;
  std::set<QString> taken_;
};

} // namespace lumbrix
