#include "engine/output_file.h"

#include "engine/psd_document.h"
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
// share a temporary file, and the file is written through the descriptor that created it. None,
// with errno set, when nothing can be created there.
Descriptor claim_temp_file(const QString &folder, const QString &extension, QString &path) {
  for (;;) {
    path = folder + make_temp_name(temp_prefix, QString()) + QLatin1Char('.') + extension;
    Descriptor descriptor = create_new_file(path);
    if (descriptor || errno != EEXIST)
      return descriptor;
  }
}

PsdDocument psd_document(Image image, PngMetadata metadata, const Settings &s,
                         const QString &input) {
  PsdDocument document{std::move(image), base_name(input)};
  if (metadata.horizontal_dpi > 0 && metadata.vertical_dpi > 0) {
    document.horizontal_dpi = metadata.horizontal_dpi;
    document.vertical_dpi = metadata.vertical_dpi;
  }
  document.icc_profile = std::move(metadata.icc_profile);
  document.layout = s.psd_layers != 0 ? PsdLayout::layered : PsdLayout::merged_only;
  document.compression = s.psd_compression != 0 ? PsdCompression::rle : PsdCompression::raw;
  return document;
}

QString cannot_write(QString folder, int error) {
  if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
    folder.chop(1);
  return QStringLiteral("cannot write to ") + folder + QStringLiteral(": ") + error_text(error);
}

} // namespace

bool write_temporary(Image image, PngMetadata metadata, const ConversionRequest &request,
                     const InputFile &file, const WriteMonitor &monitor, WrittenOutput &written,
                     QString &reason) {
  const bool subfolders = request.settings.keep_subfolders != 0;
  written.folder = request.output_folder + (subfolders ? file.relative_subfolder : QString());
  if (subfolders && !create_folders(request.output_folder, file.relative_subfolder)) {
    reason = QStringLiteral("cannot create the folder ") + written.folder;
    return false;
  }
  Descriptor descriptor =
      claim_temp_file(written.folder, request.output_extension, written.temporary_path);
  if (!descriptor) {
    reason = cannot_write(written.folder, errno);
    written.temporary_path.clear();
    return false;
  }
  notify(request.step_observer, "naming");
  PsdWriteResult result = write_psd_document(
      psd_document(std::move(image), std::move(metadata), request.settings, file.path),
      descriptor.get(), monitor);
  notify(request.step_observer, "PSD write");
  if (!descriptor.close() && result.status == PsdWriteStatus::written)
    result = {PsdWriteStatus::failed, errno};
  if (result.status == PsdWriteStatus::written)
    return true;
  if (result.status != PsdWriteStatus::stopped)
    reason = cannot_write(written.folder,
                          result.status == PsdWriteStatus::refused ? EINVAL : result.error);
  discard_output(written);
  return false;
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
