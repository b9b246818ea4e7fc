#include "engine/run/output_file.h"

#include "engine/psd/psd_document.h"
#include "engine/settings/naming.h"
#include "platform/file_system_sync.h"
#include "platform/files.h"
#include "platform/paths.h"

#include <QHash>

#include <cerrno>

namespace lumbrix {
namespace {

const QString temp_prefix = QStringLiteral("Lumbrix");
constexpr qint64 writeback_step = 8 * 1024 * 1024;

PsdDocument psd_document(Image image, PngMetadata metadata, const Settings &s,
                         const QString &input) {
  PsdDocument document{std::move(image), base_name(input)};
  if (metadata.horizontal_dpi > 0 && metadata.vertical_dpi > 0) {
    document.horizontal_dpi = metadata.horizontal_dpi;
    document.vertical_dpi = metadata.vertical_dpi;
  }
  document.icc_profile = std::move(metadata.icc_profile);
  document.layout = psd_layout(s);
  document.compression = psd_compression(s);
  return document;
}

QString cannot_write(QString folder, int error) {
  if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
    folder.chop(1);
  return QStringLiteral("cannot write to ") + folder + QStringLiteral(": ") + error_text(error);
}

} // namespace

PsdLayout psd_layout(const Settings &s) {
  return s.psd_layers != 0 ? PsdLayout::layered : PsdLayout::merged_only;
}

PsdCompression psd_compression(const Settings &s) {
  return s.psd_compression != 0 ? PsdCompression::rle : PsdCompression::raw;
}

bool open_temporary(const ConversionRequest &request, const InputFile &file, WrittenOutput &written,
                    QString &reason) {
  written.folder =
      output_folder_of(request.output_folder, file.relative_subfolder, request.settings);
  if (request.settings.keep_subfolders != 0 &&
      !create_folders(request.output_folder, file.relative_subfolder)) {
    reason = QStringLiteral("cannot create the folder ") + written.folder;
    return false;
  }
  errno = 0;
  written.temporary = TempFile::create(written.folder, temp_prefix, request.output_extension);
  if (!written.temporary.is_open()) {
    reason = cannot_write(written.folder, errno);
    return false;
  }
  return true;
}

bool write_temporary(Image image, PngMetadata metadata, const ConversionRequest &request,
                     const InputFile &file, const WriteMonitor &monitor, WrittenOutput &written,
                     QString &reason, BandsAhead ahead) {
  if (!written.temporary.is_open() && !open_temporary(request, file, written, reason))
    return false;
  notify_step(request.step_observer, "naming");
  // The disk takes the bytes while the rest is packed, rather than all at the sync.
  qint64 handed_on = 0;
  const auto writing = [&written, &monitor, &handed_on](qint64 done, qint64 total) {
    if (done - handed_on >= writeback_step) {
      written.temporary.start_writeback();
      handed_on = done;
    }
    return !monitor || monitor(done, total);
  };
  PsdDocument document =
      psd_document(std::move(image), std::move(metadata), request.settings, file.path);
  document.packed_ahead = std::move(ahead.packed);
  document.raw_ahead = std::move(ahead.raw);
  const PsdWriteResult result =
      write_psd_document(std::move(document), written.temporary.descriptor(), writing);
  notify_step(request.step_observer, "PSD write");
  if (result.status == PsdWriteStatus::written)
    return true;
  if (result.status != PsdWriteStatus::stopped)
    reason = cannot_write(written.folder,
                          result.status == PsdWriteStatus::refused ? EINVAL : result.error);
  discard_output(written);
  return false;
}

bool commit_output(WrittenOutput &written, const InputFile &file, const QString &name,
                   QString &reason) {
  const QString output_path = written.folder + name;
  // A mask that names the input itself would replace the picture being converted.
  if (is_same_file(output_path, file.path)) {
    reason = QStringLiteral("the output name ") + output_path + QStringLiteral(" is the input");
    discard_output(written);
    return false;
  }
  int error = 0;
  bool *left_unsynced = written.may_defer_sync ? &written.left_unsynced : nullptr;
  if (!written.temporary.commit(name, &error, left_unsynced)) {
    reason = QStringLiteral("cannot replace ") + output_path + QStringLiteral(": ") +
             (error != 0 ? error_text(error)
                         : QStringLiteral("something else took the temporary file's place"));
    return false;
  }
  return true;
}

void discard_output(WrittenOutput &written) { written.temporary.discard(); }

std::vector<std::pair<std::size_t, QString>> UnsyncedOutputs::make_durable() const {
  QStringList folders;
  for (const auto &file : files_)
    if (!folders.contains(file.second))
      folders.append(file.second);
  const std::vector<int> errors = sync_file_systems(folders);
  QHash<QString, int> error_of;
  for (qsizetype i = 0; i < folders.size(); ++i)
    error_of.insert(folders[i], errors[static_cast<std::size_t>(i)]);
  std::vector<std::pair<std::size_t, QString>> failed;
  for (const auto &[index, folder] : files_)
    if (const int error = error_of.value(folder); error != 0)
      failed.emplace_back(index, cannot_write(folder, error));
  return failed;
}

} // namespace lumbrix
