#pragma once

#include "engine/psd/psd_document.h"

#include <QString>

namespace lumbrix::test {

// Writes document to a new or emptied file at path.
PsdWriteResult write_psd_file(PsdDocument document, const QString &path,
                              const PsdWriteProgress &progress = {});

} // namespace lumbrix::test
