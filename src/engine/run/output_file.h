#pragma once

#include "engine/image/image.h"
#include "engine/png/png_metadata.h"
#include "engine/psd/psd_document.h"
#include "engine/run/conversion_request.h"
#include "platform/temp_file.h"

#include <QString>

#include <functional>
#include <utility>
#include <vector>

namespace lumbrix {

// Told how far a write is (bytes written out of the file's size, 0 until known) as it goes;
// false stops the write.
using WriteMonitor = std::function<bool(qint64 done, qint64 total)>;

// A PSD on disk as a temporary file in the folder its output goes to, waiting to be put in
// place. It is written through the descriptor that created it, and nothing is ever written
// under a final name but by commit_output's rename, so an earlier file of that name survives a
// failure or a stop, and nothing can redirect the writing. Where the file system allows, the
// temporary file has no name until then, so whatever ends the process leaves nothing behind.
struct WrittenOutput {
  QString folder;     // the request's output folder, or the file's sub-folder of it
  TempFile temporary; // open once written
  // Whether a file that replaces nothing may be put in place unsynced, and whether it was.
  bool may_defer_sync = false;
  bool left_unsynced = false;
};

// The PSD layout and compression the settings ask for.
PsdLayout psd_layout(const Settings &s);
PsdCompression psd_compression(const Settings &s);

// What was packed, or written, of the PSD while its picture loaded.
struct BandsAhead {
  std::shared_ptr<PsdPackAhead> packed{};
  std::shared_ptr<PsdRawAhead> raw{};
};

// Creates the temporary file for file in its output folder (creating the file's sub-folder with
// Keep Subfolders); false with the reason when it cannot be.
bool open_temporary(const ConversionRequest &request, const InputFile &file, WrittenOutput &written,
                    QString &reason);

// Writes the picture as the request's PSD to the temporary file, opened first when it is not:
// the layer named after the input, the PNG's resolution and profile in its resources. False with
// the reason when it could not be written, and nothing is left behind; a write the monitor
// stopped leaves the reason empty.
bool write_temporary(Image image, PngMetadata metadata, const ConversionRequest &request,
                     const InputFile &file, const WriteMonitor &monitor, WrittenOutput &written,
                     QString &reason, BandsAhead ahead = {});

// Puts the written file in place as name in its folder, replacing an earlier file of that name:
// synced first, the folder synced after (a new file, when written.may_defer_sync, unsynced). False
// with the reason when it cannot be (the name is the input itself, the rename fails, or a link took
// the temporary file's place); the temporary file is gone afterwards either way.
bool commit_output(WrittenOutput &written, const InputFile &file, const QString &name,
                   QString &reason);

// Removes a written file that will not be put in place.
void discard_output(WrittenOutput &written);

// The new files a run put in place unsynced, made durable together before the run reports them.
class UnsyncedOutputs {
public:
  void add(std::size_t index, const QString &folder) { files_.emplace_back(index, folder); }
  // One sync per file system; for each file whose sync failed, its index and the reason.
  std::vector<std::pair<std::size_t, QString>> make_durable() const;

private:
  std::vector<std::pair<std::size_t, QString>> files_;
};

} // namespace lumbrix
