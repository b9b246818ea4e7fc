#include "engine/run/run_outputs.h"

namespace lumbrix {

RunOutputs::RunOutputs(const std::vector<InputFile> &inputs) {
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const InputFile &input = inputs[i];
    if (!input.refusal.isEmpty())
      continue;
    input_paths_.emplace(resolved_path(input.path), i);
    for (const bool follow : {false, true}) {
      if (const auto identity = file_identity(input.path, follow))
        input_files_.emplace(*identity, i);
    }
  }
}

QString RunOutputs::claim(const QString &output_path, std::size_t index) {
  const QString resolved = resolved_path(output_path);
  std::size_t input = index;
  if (const auto identity = file_identity(output_path, false);
      identity && input_files_.contains(*identity))
    input = input_files_.at(*identity);
  else if (input_paths_.contains(resolved))
    input = input_paths_.at(resolved);
  if (input != index)
    return QStringLiteral("the output name ") + output_path +
           QStringLiteral(" is another input of this run");
  if (!taken_.insert(resolved).second)
    return QStringLiteral("another file of this run is written as ") + output_path;
  return QString();
}

} // namespace lumbrix
