#pragma once

#include "engine/conversion_request.h"
#include "engine/image.h"
#include "engine/psd_writer.h"

#include <QString>

namespace lumbrix {

// Puts the picture on disk as name in folder (the request's output folder, or the file's
// sub-folder of it with Keep Subfolders). The PSD is written through the descriptor that created
// a temporary file there, synced, and renamed over the final name, the folder synced after; so an
// earlier file of that name survives a failure, nothing can redirect the writing, and no
// temporary file is left behind. False with the reason when it could not be written; a write
// the monitor stopped leaves the reason empty.
bool save_output(Image image, const ConversionRequest &request, const InputFile &file,
                 const QString &folder, const QString &name, const WriteMonitor &monitor,
                 QString &reason);

} // namespace lumbrix
