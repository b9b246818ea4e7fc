#include "engine/output_file.h"

#include "platform/files.h"
#include "platform/temp_file.h"

#include <cerrno>

namespace lumbrix {
namespace {

const QString temp_prefix = QStringLiteral("Lumbrix");

void notify(StepObserver observer, const char *step) {
  if (observer)
    observer(step);
}

QString cannot_write(QString folder, int error) {
  if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
    folder.chop(1);
  return QStringLiteral("cannot write to ") + folder + QStringLiteral(": ") + error_text(error);
}

} // namespace

bool save_output(Image image, const ConversionRequest &request, const InputFile &file,
                 const QString &folder, const QString &name, const WriteMonitor &monitor,
                 QString &reason) {
  const bool subfolders = request.settings.keep_subfolders != 0;
  if (subfolders && !create_folders(request.output_folder, file.relative_subfolder)) {
    reason = QStringLiteral("cannot create the folder ") + folder;
    return false;
  }
  const QString output_path = folder + name;
  // A mask that names the input itself would replace the picture being converted.
  if (is_same_file(output_path, file.path)) {
    reason = QStringLiteral("the output name ") + output_path + QStringLiteral(" is the input");
    return false;
  }
  errno = 0;
  TempFile temporary = TempFile::create(folder, temp_prefix, request.output_extension);
  if (!temporary.is_open()) {
    reason = cannot_write(folder, errno);
    return false;
  }
  notify(request.step_observer, "naming");
  int error = 0;
  if (!write_psd(std::move(image), temporary.descriptor(), {request.step_observer, monitor},
                 &error)) {
    if (error != ECANCELED)
      reason = cannot_write(folder, error);
    return false;
  }
  if (!temporary.commit(name, &error)) {
    reason = QStringLiteral("cannot replace ") + output_path + QStringLiteral(": ") +
             (error != 0 ? error_text(error)
                         : QStringLiteral("something else took the temporary file's place"));
    return false;
  }
  notify(request.step_observer, "rename");
  return true;
}

} // namespace lumbrix
