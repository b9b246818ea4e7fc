#pragma once

#include "engine/conversion_request.h"
#include "engine/image.h"
#include "engine/psd_writer.h"

#include <QString>

namespace lumbrix {

// Puts the picture on disk as output_path (inside the request's output folder, or the file's
// sub-folder of it with Keep Subfolders): the PSD goes to a temporary file beside it that is
// renamed over the final name, so an earlier file of that name survives a failure and no
// temporary file is left behind. False with the reason when it could not be written; a write the
// monitor stopped leaves the reason empty.
bool save_output(Image image, const ConversionRequest &request, const InputFile &file,
                 const QString &output_path, const WriteMonitor &monitor, QString &reason);

// prefix + the current time and five random letters, all lower-case ASCII, + suffix.
QString make_temp_name(const QString &prefix, const QString &suffix);

} // namespace lumbrix
