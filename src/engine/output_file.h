#pragma once

#include "engine/conversion_request.h"
#include "engine/image.h"
#include "engine/png_metadata.h"

#include <QString>

#include <functional>

namespace lumbrix {

// Told how far a write is (bytes written out of the file's size, 0 until known) as it goes;
// false stops the write.
using WriteMonitor = std::function<bool(qint64 done, qint64 total)>;

// A PSD on disk under a temporary name in the folder its output goes to, waiting to be put in
// place. Nothing is ever written under a final name but by commit_output's rename, so an earlier
// file of that name survives a failure or a stop.
struct WrittenOutput {
  QString folder;         // the request's output folder, or the file's sub-folder of it
  QString temporary_path; // empty until written
};

// Writes the picture as the request's PSD to a new temporary file in the folder for file
// (creating the file's sub-folder with Keep Subfolders), through the descriptor that created it:
// the layer named after the input, the PNG's resolution and profile in its resources. False with
// the reason when it could not be written, and nothing is left behind; a write the monitor
// stopped leaves the reason empty.
bool write_temporary(Image image, PngMetadata metadata, const ConversionRequest &request,
                     const InputFile &file, const WriteMonitor &monitor, WrittenOutput &written,
                     QString &reason);

// Puts the written file in place as output_path, replacing an earlier file of that name. False
// with the reason when it cannot be (output_path is the input itself, or the rename fails); the
// temporary file is gone afterwards either way.
bool commit_output(const WrittenOutput &written, const InputFile &file, const QString &output_path,
                   QString &reason);

// Removes a written file that will not be put in place.
void discard_output(const WrittenOutput &written);

// prefix + the current time and five random letters, all lower-case ASCII, + suffix.
QString make_temp_name(const QString &prefix, const QString &suffix);

} // namespace lumbrix
