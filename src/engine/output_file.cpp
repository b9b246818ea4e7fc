#include "engine/output_file.h"

#include "platform/files.h"
#include "platform/paths.h"

#include <QDateTime>

#include <cerrno>
#include <random>

namespace lumbrix {
namespace {

const QString temp_prefix = QStringLiteral("Lumbrix");

void notify(StepObserver observer, const char *step) {
  if (observer)
    observer(step);
}

// The name is claimed by creating the file, so that runs side by side in one folder never
// share a temporary file. Empty, with errno set, when nothing can be created there.
QString claim_temp_path(const QString &folder, const QString &extension) {
  for (;;) {
    const QString path =
        folder + make_temp_name(temp_prefix, QString()) + QLatin1Char('.') + extension;
    if (create_new_file(path))
      return path;
    if (errno != EEXIST)
      return QString();
  }
}

QString cannot_write(QString folder, int error) {
  if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
    folder.chop(1);
  return QStringLiteral("cannot write to ") + folder + QStringLiteral(": ") + error_text(error);
}

} // namespace

bool write_temporary(Image image, const ConversionRequest &request, const InputFile &file,
                     const WriteMonitor &monitor, WrittenOutput &written, QString &reason) {
  const bool subfolders = request.settings.keep_subfolders != 0;
  written.folder = request.output_folder + (subfolders ? file.relative_subfolder : QString());
  if (subfolders && !create_folders(request.output_folder, file.relative_subfolder)) {
    reason = QStringLiteral("cannot create the folder ") + written.folder;
    return false;
  }
  written.temporary_path = claim_temp_path(written.folder, request.output_extension);
  if (written.temporary_path.isEmpty()) {
    reason = cannot_write(written.folder, errno);
    return false;
  }
  notify(request.step_observer, "naming");
  int error = 0;
  if (!write_psd(std::move(image), written.temporary_path, {request.step_observer, monitor},
                 &error)) {
    if (error != ECANCELED)
      reason = cannot_write(written.folder, error);
    discard_output(written);
    return false;
  }
  return true;
}

bool commit_output(const WrittenOutput &written, const InputFile &file, const QString &output_path,
                   QString &reason) {
  // A mask that names the input itself would replace the picture being converted.
  if (is_same_file(output_path, file.path)) {
    reason = QStringLiteral("the output name ") + output_path + QStringLiteral(" is the input");
    discard_output(written);
    return false;
  }
  if (!rename_file(written.temporary_path, output_path)) {
    reason =
        QStringLiteral("cannot replace ") + output_path + QStringLiteral(": ") + error_text(errno);
    discard_output(written);
    return false;
  }
  return true;
}

void discard_output(const WrittenOutput &written) { delete_file(written.temporary_path); }

QString make_temp_name(const QString &prefix, const QString &suffix) {
  thread_local std::mt19937 engine{std::random_device{}()};
  std::uniform_int_distribution<int> letter(0, 25);
  QString name = prefix;
  for (const QChar digit : QString::number(QDateTime::currentSecsSinceEpoch()))
    name += QLatin1Char(static_cast<char>('a' + digit.digitValue()));
  for (int i = 0; i < 5; ++i)
    name += QLatin1Char(static_cast<char>('a' + letter(engine)));
  return name + suffix;
}

} // namespace lumbrix
