#pragma once

#include "engine/psd_writer.h"

namespace lumbrix::test {

// write_psd into the file at path, created or emptied first.
bool write_psd_file(Image image, const QString &path, const PsdWriteHooks &hooks = {});

} // namespace lumbrix::test
